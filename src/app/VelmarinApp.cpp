#include "app/VelmarinApp.h"

#include <cstdint>
#include <cstring>

#include "app/CommandTable.h"
#include "app/DocDataManager.h"
#include "app/HostLink.h"
#include "bridge/TdaVORD.h"
#include "drawing/TdaAutocad.h"
#include "host/Host.h"
#include "ops/TAutoVord.h"
#include "platform/Platform.h"
#include "print/PrintFlow.h"
#include "util/Shared.h"
#include "util/TdaFunc.h"

namespace velmarin::app {
namespace {

// The login arguments the client expects with code 5.
constexpr int kFirstLoginArgument = 0;
constexpr int kSecondLoginArgument = 6;

// Constant-initialised: no code runs to build it when the module loads.
CVelmarinApp theApp;
DocDataManager docData;

bool IsHostLink(const void* packet) {
    if (packet == nullptr) return false;
    std::uint32_t signature = 0;
    std::memcpy(&signature, packet, sizeof signature);
    return signature == HostLink::kSignature;
}

}  // namespace

CVelmarinApp& TheApp() { return theApp; }

DocDataManager& DocData() { return docData; }

const std::array<CVelmarinApp::Handler, kLastMessage + 1> CVelmarinApp::kMessageTable = {
    &CVelmarinApp::OnOtherMessage,    // 0: null message
    &CVelmarinApp::OnInitApp,         // 1
    &CVelmarinApp::OnUnloadApp,       // 2
    &CVelmarinApp::OnLoadDrawing,     // 3
    &CVelmarinApp::OnUnloadDrawing,   // 4
    &CVelmarinApp::OnInvokeFunction,  // 5
    &CVelmarinApp::OnOtherMessage,    // 6
    &CVelmarinApp::OnOtherMessage,    // 7
    &CVelmarinApp::OnOtherMessage,    // 8
    &CVelmarinApp::OnOtherMessage,    // 9
    &CVelmarinApp::OnOtherMessage,    // 10
    &CVelmarinApp::OnOtherMessage,    // 11
    &CVelmarinApp::OnOtherMessage,    // 12
    &CVelmarinApp::OnOtherMessage,    // 13
    &CVelmarinApp::OnOtherMessage,    // 14
    &CVelmarinApp::OnOtherMessage,    // 15
};

int CVelmarinApp::Dispatch(int message, void* packet, void* moduleInstance) {
    // A negative code would index before the table: treated like any foreign code.
    if (message < 0 || message > kLastMessage) return kRetOk;
    exportedInstance_ = moduleInstance;
    return (this->*kMessageTable[static_cast<std::size_t>(message)])(packet);
}

int CVelmarinApp::OnInitApp(void* packet) {
    // Without a host there is nothing to register with; tell the host the load failed rather
    // than pretend a working plug-in.
    if (!host::installed() || !platform::installed()) return kRetError;
    if (initialised_) return kRetOk;  // a repeated message must not create a second set

    instance_ = exportedInstance_;
    host::Host& cad = host::current();
    if (unlock_) cad.unlockApplication(packet);
    if (mdiAware_) cad.registerAppMDIAware(packet);
    RegisterComponents();
    RegisterCommands();
    CreateSharedObjects();
    initialised_ = true;
    // A refused login only leaves the flag cleared: the first command that needs it asks again.
    Shared().vord->Login();
    return kRetOk;
}

int CVelmarinApp::OnUnloadApp(void* packet) {
    if (!initialised_) return kRetOk;
    RemoveCommands();
    if (Shared().vord != nullptr) Shared().vord->NotifyUnload();
    DeleteSharedObjects();
    SaveState() = SaveContext{};
    initialised_ = false;
    return kRetOk;
}

int CVelmarinApp::OnLoadDrawing(void* packet) {
    if (initialised_) ApplyPrintFlow();
    return kRetOk;
}

void CVelmarinApp::RegisterCommands() {
    // A name already taken in the host simply fails to register; the others still do.
    host::CommandStack& stack = host::current().commandStack();
    for (const CommandEntry& entry : CommandTable()) {
        stack.addCommand(entry.group, entry.globalName, entry.localName, entry.flags,
                         entry.handler);
    }
}

void CVelmarinApp::RemoveCommands() {
    host::CommandStack& stack = host::current().commandStack();
    for (const CommandEntry& entry : CommandTable()) stack.removeCmd(entry.group, entry.globalName);
    stack.removeGroup(kCommandGroup);
}

void CVelmarinApp::CreateSharedObjects() {
    SaveState() = SaveContext{};
    SharedObjects& shared = Shared();
    shared.func = new TdaFunc();
    shared.vord = new TdaVORD(*shared.func, kFirstLoginArgument, kSecondLoginArgument);
    shared.vord->firstLoginArgument = kFirstLoginArgument;
    shared.autoVord = new TAutoVord();
    shared.acad = new TdaAutocad(*shared.func, *shared.vord);
}

void CVelmarinApp::DeleteSharedObjects() {
    SharedObjects& shared = Shared();
    delete shared.func;
    shared.func = nullptr;
    delete shared.vord;
    shared.vord = nullptr;
    delete shared.autoVord;
    shared.autoVord = nullptr;
    delete shared.acad;
    shared.acad = nullptr;
}

int HandleEntryMessage(int message, void* packet, void* moduleInstance) {
    if (message == kInitAppMsg && IsHostLink(packet)) {
        const auto* link = static_cast<const HostLink*>(packet);
        host::install(link->host);
        platform::install(link->platform);
    }
    return TheApp().Dispatch(message, packet, moduleInstance);
}

}  // namespace velmarin::app
