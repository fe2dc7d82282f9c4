#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <vector>

namespace Steinberg {

// The module's class factory: a list of class descriptions, each with the
// function that creates an instance of the class.
class CPluginFactory : public IPluginFactory3 {
public:
    using CreateFunction = FUnknown* (*)(void* context);

    explicit CPluginFactory(const PFactoryInfo& info);
    virtual ~CPluginFactory();

    // False for a null description or creation function.
    bool registerClass(const PClassInfo* info, CreateFunction createFunc, void* context = nullptr);
    bool registerClass(const PClassInfo2* info, CreateFunction createFunc, void* context = nullptr);
    bool registerClass(const PClassInfoW* info, CreateFunction createFunc, void* context = nullptr);
    bool isClassRegistered(const FUID& cid) const;
    void removeAllClasses() { classes.clear(); }

    DECLARE_FUNKNOWN_METHODS

    tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) SMTG_OVERRIDE;
    int32 PLUGIN_API countClasses() SMTG_OVERRIDE;
    tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) SMTG_OVERRIDE;
    tresult PLUGIN_API createInstance(FIDString cid, FIDString _iid, void** obj) SMTG_OVERRIDE;
    tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) SMTG_OVERRIDE;
    tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) SMTG_OVERRIDE;
    // Kept for later use as a source of the host's run loop.
    tresult PLUGIN_API setHostContext(FUnknown* context) SMTG_OVERRIDE;

    FUnknown* getHostContext() const { return hostContext; }

private:
    struct ClassEntry {
        PClassInfo2 info8;
        PClassInfoW info16;
        CreateFunction createFunc = nullptr;
        void* context = nullptr;
        bool isUnicode = false;
    };

    const ClassEntry* entryAt(int32 index) const;

    PFactoryInfo factoryInfo;
    std::vector<ClassEntry> classes;
    FUnknown* hostContext = nullptr;
};

// The factory GetPluginFactory hands out; cleared when it is destroyed.
extern CPluginFactory* gPluginFactory;

} // namespace Steinberg
