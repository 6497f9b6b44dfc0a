#include "app/Application.h"

#include "app/CommandTable.h"
#include "app/HostLink.h"
#include "host/Host.h"
#include "platform/Platform.h"
#include "print/PrintFlow.h"
#include "util/FixedTexts.h"

namespace velmarin::app {
namespace {

// The login arguments the client expects with code 5.
constexpr int kFirstLoginArgument = 0;
constexpr int kSecondLoginArgument = 6;

Application theApplication;

}  // namespace

Services::Services() : vord(kFirstLoginArgument, kSecondLoginArgument), scripts(vord, drawings) {}

Application& TheApplication() { return theApplication; }

const std::array<Application::Handler, kLastMessage + 1> Application::kMessageTable = {
    &Application::OnOtherMessage,    // 0: null message
    &Application::OnInitApp,         // 1
    &Application::OnUnloadApp,       // 2
    &Application::OnLoadDrawing,     // 3
    &Application::OnUnloadDrawing,   // 4
    &Application::OnInvokeFunction,  // 5
    &Application::OnOtherMessage,    // 6
    &Application::OnOtherMessage,    // 7
    &Application::OnOtherMessage,    // 8
    &Application::OnOtherMessage,    // 9
    &Application::OnOtherMessage,    // 10
    &Application::OnOtherMessage,    // 11
    &Application::OnOtherMessage,    // 12
    &Application::OnOtherMessage,    // 13
    &Application::OnOtherMessage,    // 14
    &Application::OnOtherMessage,    // 15
};

int Application::Dispatch(int message, void* packet, void* moduleInstance) {
    // A negative code would index before the table: treated like any foreign code.
    if (message < 0 || message > kLastMessage) return kRetOk;
    exportedInstance_ = moduleInstance;
    return (this->*kMessageTable[static_cast<std::size_t>(message)])(packet);
}

int Application::OnInitApp(void* packet) {
    // Without a host there is nothing to register with; tell the host the load failed rather
    // than pretend a working plug-in.
    if (!host::installed() || !platform::installed()) return kRetError;
    if (services_) return kRetOk;  // a repeated message must not create a second set

    instance_ = exportedInstance_;
    host::Host& cad = host::current();
    if (unlock_) cad.unlockApplication(packet);
    if (mdiAware_) cad.registerAppMDIAware(packet);
    RegisterCommands();
    services_.emplace();
    // A refused login only leaves the flag cleared: the first command that needs it asks again.
    // One that fails outright is reported and counts as refused; the plug-in stays loaded.
    Guarded([&] { services_->vord.Login(); });
    return kRetOk;
}

int Application::OnUnloadApp(void* packet) {
    if (!services_) return kRetOk;
    RemoveCommands();
    services_->vord.NotifyUnload();
    services_.reset();
    return kRetOk;
}

int Application::OnLoadDrawing(void* packet) {
    // A drawing the batch run opens only to read it is closed unsaved: the print information
    // stays in its file for the drawing's next real load.
    if (services_ && !services_->drawings.openingForReading()) print::ApplyPrintFlow();
    return kRetOk;
}

void Application::RegisterCommands() {
    // A name already taken in the host simply fails to register; the others still do.
    host::CommandStack& stack = host::current().commandStack();
    for (const CommandEntry& entry : CommandTable()) {
        stack.addCommand(entry.group, entry.globalName, entry.localName, entry.flags,
                         entry.handler);
    }
}

void Application::RemoveCommands() {
    host::CommandStack& stack = host::current().commandStack();
    for (const CommandEntry& entry : CommandTable()) stack.removeCmd(entry.group, entry.globalName);
    stack.removeGroup(texts::kCommandGroup);
}

int HandleEntryMessage(int message, void* packet, void* moduleInstance) {
    int result = kRetError;
    Guarded([&] {
        if (message == kInitAppMsg && IsHostLink(packet)) {
            const auto* link = static_cast<const HostLink*>(packet);
            host::install(link->host);
            platform::install(link->platform);
        }
        result = TheApplication().Dispatch(message, packet, moduleInstance);
    });
    return result;
}

}  // namespace velmarin::app
