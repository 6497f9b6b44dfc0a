#include "support/World.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bridge/TdaVORD.h"
#include "drawing/TdaAutocad.h"
#include "host/Host.h"
#include "ops/TAutoVord.h"
#include "platform/Platform.h"
#include "util/Shared.h"
#include "util/TdaFunc.h"

namespace fs = std::filesystem;

namespace velmarin::testing {
namespace {

std::string MakeTempRoot() {
    std::string pattern = (fs::temp_directory_path() / "velmarin-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
}

}  // namespace

std::string BinaryDir() {
    const char* dir = std::getenv("VELMARIN_BIN");
    return dir != nullptr ? dir : VELMARIN_BIN_DIR;
}

World::World(WorldOptions options) : root_(MakeTempRoot()) {
    fs::create_directories(fs::path(root_) / "VORD");
    platform::posix::PosixConfig config;
    config.drives['D'] = root_;
    config.registryFile = root_ + "/registry.ini";
    config.hostExecutable = root_ + "/host/velmarin-host";
    config.modules["Velmarin.arx"] = root_ + "/App/Velmarin.arx";
    fs::create_directories(root_ + "/App/temp");
    if (options.registerClient) {
        std::ofstream(config.registryFile, std::ios::binary)
            << "[SOFTWARE\\TORVEL\\VORD]\r\nAppPath=" << options.appPath << "\r\n";
    }
    platform_ = std::make_unique<platform::posix::PosixPlatform>(config, notifier_, clock_);
    host_ = std::make_unique<host::sim::SimHost>(
        [this](const std::string& path) { return platform_->resolve(path); });
    platform::install(platform_.get());
    host::install(host_.get());
    if (options.installClient) {
        fs::copy_file(BinaryDir() + "/VORDDll.dll", root_ + "/VORD/VORDDll.dll",
                      fs::copy_options::overwrite_existing);
    }
    if (options.createExchangeFile) std::ofstream(root_ + "/VORD/VORD.ini", std::ios::binary);
}

World::~World() {
    destroySharedObjects();
    host::install(nullptr);
    platform::install(nullptr);
    host_.reset();
    platform_.reset();
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string World::resolve(const std::string& windowsPath) const {
    return platform_->resolve(windowsPath);
}

void World::writeFile(const std::string& windowsPath, const std::string& bytes) const {
    const fs::path path = resolve(windowsPath);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string World::readFile(const std::string& windowsPath) const {
    std::ifstream in(resolve(windowsPath), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
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

void World::createSharedObjects() {
    destroySharedObjects();
    SharedObjects& shared = Shared();
    shared.func = new TdaFunc();
    shared.vord = new TdaVORD(*shared.func, 0, 6);
    shared.autoVord = new TAutoVord();
    shared.acad = new TdaAutocad(*shared.func, *shared.vord);
    SaveState() = SaveContext{};
    ownsShared_ = true;
}

void World::destroySharedObjects() {
    if (!ownsShared_) return;
    SharedObjects& shared = Shared();
    delete shared.func;
    delete shared.vord;
    delete shared.autoVord;
    delete shared.acad;
    shared = SharedObjects{};
    ownsShared_ = false;
}

std::vector<std::string> World::messages() const {
    std::vector<std::string> texts;
    for (const auto& message : notifier_.messages()) texts.push_back(message.text);
    return texts;
}

TdaFunc& World::func() { return *Shared().func; }
TdaVORD& World::vord() { return *Shared().vord; }
TAutoVord& World::autoVord() { return *Shared().autoVord; }
TdaAutocad& World::acad() { return *Shared().acad; }

}  // namespace velmarin::testing
