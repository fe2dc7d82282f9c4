#include "sdk/PluginFactory.h"

#include <cstring>

namespace Steinberg {

CPluginFactory* gPluginFactory = nullptr;

namespace {

// The fields every class description version shares.
template <typename From, typename To>
void copyBasicInfo(const From& from, To& to)
{
    std::memcpy(to.cid, from.cid, sizeof(TUID));
    to.cardinality = from.cardinality;
    std::memcpy(to.category, from.category, sizeof(to.category));
    std::memcpy(to.name, from.name, sizeof(to.name));
}

} // namespace

CPluginFactory::CPluginFactory(const PFactoryInfo& info)
    : factoryInfo(info){FUNKNOWN_CTOR}

      CPluginFactory::~CPluginFactory()
{
    if (gPluginFactory == this) gPluginFactory = nullptr;
    FUNKNOWN_DTOR
}

IMPLEMENT_REFCOUNT(CPluginFactory)

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID _iid, void** obj)
{
    if (obj == nullptr) return kInvalidArgument;
    QUERY_INTERFACE(_iid, obj, IPluginFactory::iid, IPluginFactory)
    QUERY_INTERFACE(_iid, obj, IPluginFactory2::iid, IPluginFactory2)
    QUERY_INTERFACE(_iid, obj, IPluginFactory3::iid, IPluginFactory3)
    QUERY_INTERFACE(_iid, obj, FUnknown::iid, IPluginFactory)
    *obj = nullptr;
    return kNoInterface;
}

bool CPluginFactory::registerClass(const PClassInfo* info, CreateFunction createFunc, void* context)
{
    if (info == nullptr || createFunc == nullptr) return false;
    PClassInfo2 info2;
    copyBasicInfo(*info, info2);
    return registerClass(&info2, createFunc, context);
}

bool CPluginFactory::registerClass(const PClassInfo2* info, CreateFunction createFunc, void* context)
{
    if (info == nullptr || createFunc == nullptr) return false;
    ClassEntry entry;
    entry.info8 = *info;
    entry.info16.fromAscii(*info);
    entry.createFunc = createFunc;
    entry.context = context;
    entry.isUnicode = false;
    classes.push_back(entry);
    return true;
}

bool CPluginFactory::registerClass(const PClassInfoW* info, CreateFunction createFunc, void* context)
{
    if (info == nullptr || createFunc == nullptr) return false;
    ClassEntry entry;
    entry.info16 = *info;
    entry.createFunc = createFunc;
    entry.context = context;
    entry.isUnicode = true;
    classes.push_back(entry);
    return true;
}

bool CPluginFactory::isClassRegistered(const FUID& cid) const
{
    for (const ClassEntry& entry : classes) {
        if (FUnknownPrivate::iidEqual(entry.info16.cid, cid.toTUID())) return true;
    }
    return false;
}

const CPluginFactory::ClassEntry* CPluginFactory::entryAt(int32 index) const
{
    if (index < 0 || index >= static_cast<int32>(classes.size())) return nullptr;
    return &classes[static_cast<std::size_t>(index)];
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info)
{
    if (info != nullptr) *info = factoryInfo;
    return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses()
{
    return static_cast<int32>(classes.size());
}

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
    const ClassEntry* entry = entryAt(index);
    if (entry == nullptr || info == nullptr) return kInvalidArgument;
    if (entry->isUnicode) {
        *info = PClassInfo();
        return kResultFalse;
    }
    copyBasicInfo(entry->info8, *info);
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
    const ClassEntry* entry = entryAt(index);
    if (entry == nullptr || info == nullptr) return kInvalidArgument;
    if (entry->isUnicode) {
        *info = PClassInfo2();
        return kResultFalse;
    }
    *info = entry->info8;
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info)
{
    const ClassEntry* entry = entryAt(index);
    if (entry == nullptr || info == nullptr) return kInvalidArgument;
    *info = entry->info16;
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString _iid, void** obj)
{
    if (obj == nullptr) return kInvalidArgument;
    *obj = nullptr;
    if (cid == nullptr || _iid == nullptr) return kInvalidArgument;
    for (const ClassEntry& entry : classes) {
        if (!FUnknownPrivate::iidEqual(entry.info16.cid, cid)) continue;
        FUnknown* instance = entry.createFunc(entry.context);
        if (instance == nullptr) return kNoInterface;
        // The host gets its own reference through the query; ours goes.
        const tresult result = instance->queryInterface(_iid, obj);
        instance->release();
        if (result != kResultOk) {
            *obj = nullptr;
            return kNoInterface;
        }
        return kResultOk;
    }
    return kNoInterface;
}

tresult PLUGIN_API CPluginFactory::setHostContext(FUnknown* context)
{
    hostContext = context;
    return kResultTrue;
}

} // namespace Steinberg
