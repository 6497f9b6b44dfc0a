#include "support/World.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "commands/Commands.h"
#include "host/Host.h"
#include "platform/Platform.h"

namespace fs = std::filesystem;

namespace velmarin::testing {
std::string BinaryDir() {
    const char* dir = std::getenv("VELMARIN_BIN");
    return dir != nullptr ? dir : VELMARIN_BIN_DIR;
}

namespace {
World* batchWorld = nullptr;  // the world whose batch timer was asked for last

void RunWorldBatch(void* window, unsigned, std::uintptr_t timerId, std::uint32_t) {
    platform::current().killTimer(window, timerId);
    if (batchWorld != nullptr) {
        commands::BatchRun(batchWorld->vord(), batchWorld->drawings());
    }
}
}  // namespace

World::World(WorldOptions options) {
    const std::string& root = drive_.root();
    fs::create_directories(fs::path(root) / "VORD");
    platform::posix::PosixConfig config;
    config.drives['D'] = root;
    config.registryFile = root + "/registry.ini";
    config.hostExecutable = root + "/host/velmarin-host";
    config.modules["Velmarin.arx"] = root + "/App/Velmarin.arx";
    fs::create_directories(root + "/App/temp");
    if (options.registerClient) {
        std::ofstream(config.registryFile, std::ios::binary)
            << "[SOFTWARE\\TORVEL\\VORD]\r\nAppPath=" << options.appPath << "\r\n";
    }
    platform_ = std::make_unique<platform::posix::PosixPlatform>(config);
    host_ = std::make_unique<host::sim::SimHost>(
        [this](const std::string& path) { return platform_->resolve(path); });
    faultPlatform_ = std::make_unique<platform::shims::FaultPlatform>(*platform_);
    userInterface_ = std::make_unique<platform::shims::EmulatedUserInterface>(*faultPlatform_,
                                                                              notifier_, clock_);
    platform::install(userInterface_.get());
    host::install(host_.get());
    if (options.installClient) {
        fs::copy_file(BinaryDir() + "/VORDDll.dll", root + "/VORD/VORDDll.dll",
                      fs::copy_options::overwrite_existing);
    }
    if (options.createExchangeFile) std::ofstream(root + "/VORD/VORD.ini", std::ios::binary);
}

World::~World() {
    if (batchWorld == this) batchWorld = nullptr;
    destroyServices();
    host::install(nullptr);
    platform::install(nullptr);
    host_.reset();
    userInterface_.reset();
    faultPlatform_.reset();
    platform_.reset();
}

std::string World::resolve(const std::string& windowsPath) const {
    return platform_->resolve(windowsPath);
}

void World::writeFile(const std::string& windowsPath, const std::string& bytes) const {
    WriteBytes(resolve(windowsPath), bytes);
}

std::string World::readFile(const std::string& windowsPath) const {
    return ReadBytes(resolve(windowsPath));
}

bool World::exists(const std::string& windowsPath) const {
    return fs::exists(resolve(windowsPath));
}

void World::setClientBehaviour(const std::string& iniText) const {
    writeFile("D:\\VORD\\client-double.ini", iniText);
}

std::vector<std::string> World::clientCalls() const {
    std::vector<std::string> lines;
    std::istringstream in(readFile("D:\\VORD\\client-calls.log"));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

void World::answerLogin(bool accepted) {
    const std::string folder = vord().clientFolder;
    std::map<std::string, std::optional<std::string>> kept;
    for (const char* name :
         {"VORD.ini", "client-double.ini", "client-calls.log", "client-double.state"}) {
        const std::string path = folder + name;
        kept[path] = exists(path) ? std::optional<std::string>(readFile(path)) : std::nullopt;
    }
    writeFile(folder + "client-double.ini",
              accepted ? "[Code5]\r\nresult=1\r\n" : "[Code5]\r\nresult=0\r\n");
    if (vord().Login() != accepted) throw std::runtime_error("the client double's login failed");
    for (const auto& [path, bytes] : kept) {
        if (bytes) {
            writeFile(path, *bytes);
        } else {
            fs::remove(resolve(path));
        }
    }
}

platform::TimerProc World::batchTimer() {
    batchWorld = this;
    return &RunWorldBatch;
}

void World::createServices() { services_.emplace(); }

void World::destroyServices() { services_.reset(); }

std::vector<std::string> World::openDocuments() {
    std::vector<std::string> names;
    for (host::Document* document : host_->documents()) names.push_back(document->fileName());
    return names;
}

std::vector<std::string> World::messages() const {
    std::vector<std::string> texts;
    for (const auto& message : notifier_.messages()) texts.push_back(message.text);
    return texts;
}

}  // namespace velmarin::testing
