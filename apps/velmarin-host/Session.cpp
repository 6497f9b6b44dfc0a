#include "Session.h"

#include "NativePlatform.h"
#include "app/AppMessages.h"
#include "platform/NativeFiles.h"

namespace velmarin::emulator {

Session::Session(const HostOptions& options, const std::string& modulePath,
                 const std::string& hostExecutable, Console& console)
    : console_(console), modulePath_(modulePath) {
    PlatformSetup setup{options.drives, options.registryFile, hostExecutable, modulePath};
    NativePlatform native = MakeNativePlatform(setup, notifier_, clock_);
    systemSetup_ = std::move(native.systemSetup);
    setupError_ = std::move(native.error);
    system_ = std::move(native.system);
    platform_ = std::move(native.platform);
    host_ = std::make_unique<host::sim::SimHost>(std::move(native.resolve));

    notifier_.setListeners(
        [this](const platform::ShownMessage& shown) {
            console_.messageBox(shown.text, shown.title);
        },
        [this](const std::optional<std::vector<std::string>>& answer) { console_.dialog(answer); });
    host_->setCommandLineListener([this](const std::string& text) { console_.commandLine(text); });
    host_->setDocumentOpenedListener(
        [this](host::Document& document) { documentOpened(document); });

    // The program's own code reaches them as the plug-in does; the module gets them through
    // the link, since it keeps its own copy of these globals.
    platform::install(platform_.get());
    host::install(host_.get());
    link_.host = host_.get();
    link_.platform = platform_.get();
}

// The module is not unloaded: like the CAD host, the program ends with it still mapped, so that
// nothing it registered is called after its code is gone.
Session::~Session() {
    host::install(nullptr);
    platform::install(nullptr);
}

bool Session::loadModule(std::string& error) {
    if (!setupError_.empty()) {
        error = setupError_;
        return false;
    }
    if (!IsReadableFile(modulePath_)) {
        error = NotFoundLine("module", modulePath_);
        return false;
    }
    std::string systemText;
    platform::LibraryHandle library = platform_->loadLibrary(modulePath_, systemText);
    if (library == nullptr) {
        error = "cannot load module " + modulePath_ + ": " + systemText;
        return false;
    }
    void* entry = platform_->getProcAddress(library, "zcrxEntryPoint");
    if (entry == nullptr) {
        error = "module " + modulePath_ + " has no zcrxEntryPoint";
        return false;
    }
    entry_ = reinterpret_cast<ZcrxEntryPointProc>(entry);
    if (send(app::kInitAppMsg, &link_) != app::kRetOk) {
        error = "module " + modulePath_ + " refused to initialise";
        return false;
    }
    return true;
}

int Session::openStartDrawings(const std::vector<std::string>& drawings) {
    if (drawings.empty()) {
        host_->newDrawing("Drawing1.dwg");
        return 0;
    }
    int failures = 0;
    for (const std::string& drawing : drawings) {
        std::string error;
        // The host takes paths in GBK, as script lines give them.
        if (!host_->openDrawing(platform::NativeTextToGbk(drawing), error)) {
            console_.error(Console::Shown(error));
            ++failures;
        }
    }
    return failures;
}

void Session::finish() {
    clock_.runUntilIdle();
    if (entry_ != nullptr) send(app::kUnloadAppMsg, nullptr);
    entry_ = nullptr;
}

void Session::documentOpened(host::Document& document) {
    if (entry_ != nullptr) send(app::kLoadDwgMsg, &document);
}

int Session::send(int message, void* packet) { return entry_(message, packet); }

}  // namespace velmarin::emulator
