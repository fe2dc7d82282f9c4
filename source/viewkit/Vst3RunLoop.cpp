#include "viewkit/Vst3RunLoop.h"

#include "pluginterfaces/gui/iplugview.h"

#include <functional>

namespace viewkit {

using namespace Steinberg;

namespace {
// The host keeps these handler objects until we unregister them; they forward
// to a callback that the adapter owns. Their lifetime is the registration's.
template <class Interface>
class CallbackHandler : public Interface {
public:
    explicit CallbackHandler(std::function<void()> cb) : callback(std::move(cb)) {}
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        if (FUnknownPrivate::iidEqual(iid, Interface::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
            *obj = this;
            addRef();
            return kResultOk;
        }
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return ++refs; }
    uint32 PLUGIN_API release() override { return --refs; }

protected:
    void call()
    {
        if (callback) callback();
    }

private:
    std::function<void()> callback;
    uint32 refs = 1;
};

class EventHandler final : public CallbackHandler<Linux::IEventHandler> {
public:
    using CallbackHandler::CallbackHandler;
    void PLUGIN_API onFDIsSet(Linux::FileDescriptor) override { call(); }
};

class TimerHandler final : public CallbackHandler<Linux::ITimerHandler> {
public:
    using CallbackHandler::CallbackHandler;
    void PLUGIN_API onTimer() override { call(); }
};
} // namespace

struct Vst3RunLoop::Registration {
    Callback callback;
    std::unique_ptr<EventHandler> event;
    std::unique_ptr<TimerHandler> timer;
};

void Vst3RunLoop::invoke(Handle handle)
{
    auto it = registrations.find(handle);
    if (it == registrations.end() || !it->second->callback) return;
    ++callbackDepth;
    it->second->callback();
    // Registrations cancelled meanwhile (perhaps this one) are freed only now.
    if (--callbackDepth == 0) cancelled.clear();
}

Vst3RunLoop::Vst3RunLoop(Linux::IRunLoop* hostRunLoop) : host(hostRunLoop) {}

Vst3RunLoop::~Vst3RunLoop()
{
    while (!registrations.empty()) cancel(registrations.begin()->first);
}

size_t Vst3RunLoop::activeRegistrations() const
{
    return registrations.size();
}

IRunLoop::Handle Vst3RunLoop::watchFileDescriptor(int fd, Callback onReadable)
{
    if (!host || fd < 0) return 0;
    const Handle h = nextHandle++;
    auto reg = std::make_unique<Registration>();
    reg->callback = std::move(onReadable);
    reg->event = std::make_unique<EventHandler>([this, h] { invoke(h); });
    if (host->registerEventHandler(reg->event.get(), fd) != kResultOk) return 0;
    registrations.emplace(h, std::move(reg));
    return h;
}

IRunLoop::Handle Vst3RunLoop::startTimer(uint32_t intervalMs, Callback onTimer)
{
    if (!host || intervalMs == 0) return 0;
    const Handle h = nextHandle++;
    auto reg = std::make_unique<Registration>();
    reg->callback = std::move(onTimer);
    reg->timer = std::make_unique<TimerHandler>([this, h] { invoke(h); });
    if (host->registerTimer(reg->timer.get(), intervalMs) != kResultOk) return 0;
    registrations.emplace(h, std::move(reg));
    return h;
}

void Vst3RunLoop::cancel(Handle handle)
{
    auto it = registrations.find(handle);
    if (it == registrations.end()) return;
    // Unregister before the handler dies, so the host can never call a freed object.
    if (it->second->event) host->unregisterEventHandler(it->second->event.get());
    if (it->second->timer) host->unregisterTimer(it->second->timer.get());
    // A callback may cancel itself: it is freed once the outermost callback returns.
    auto reg = std::move(it->second);
    registrations.erase(it);
    if (callbackDepth > 0) cancelled.push_back(std::move(reg));
}

} // namespace viewkit
