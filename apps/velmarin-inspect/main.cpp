// velmarin-inspect: what the plug-in reads from a drawing and from the VORD client
// installation, in words and as a picture. It reads the drawing through the emulator's host and
// the installation through the platform, as the plug-in does, and changes no file: the plug-in
// module is never loaded, so no print file is consumed and no BOM detail or tree file written.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "InspectOptions.h"
#include "Installation.h"
#include "NativePlatform.h"
#include "Picture.h"
#include "PluginReadings.h"
#include "Report.h"
#include "Shown.h"
#include "host/sim/SimHost.h"
#include "platform/ModulePath.h"
#include "platform/NativeFiles.h"
#include "platform/RecordingNotifier.h"
#include "platform/SimulatedClock.h"
#include "print/PrintFlowFile.h"
#include "util/Paths.h"
#include "util/Text.h"

#ifndef VELMARIN_VERSION
#define VELMARIN_VERSION "unknown"
#endif

namespace {

namespace inspect = velmarin::inspect;
namespace platform = velmarin::platform;
namespace host = velmarin::host;

constexpr int kExitProblem = 1;
constexpr int kExitUsage = 2;
constexpr const char* kPrintFileSuffix = velmarin::print::kPrintFlowSuffix;
constexpr const char kBomFileExtension[] =
    ".bmf";  // beside the drawing, as the save command names it

void ThisProgram() {}

void Error(const std::string& line) {
    std::cout.flush();
    std::cerr << "velmarin-inspect: " << line << '\n';
}

int Check(platform::Platform& os) {
    const inspect::Installation installation = inspect::ReadInstallation(os, true);
    bool ok = true;
    for (const inspect::CheckLine& line : inspect::CheckInstallation(installation)) {
        std::cout << inspect::FormatCheckLine(line) << '\n';
        ok = ok && line.ok;
    }
    return ok ? 0 : kExitProblem;
}

int Inspect(platform::Platform& os, host::sim::SimHost& simHost,
            const inspect::InspectOptions& options) {
    std::string error;
    // Opening reads the file only; no document listener is set, so nothing runs on the load.
    if (!simHost.openDrawing(options.drawing, error)) {
        Error(inspect::ShownPath(error));
        return kExitProblem;
    }
    host::Document* document = simHost.curDocument();
    const inspect::Scene scene = inspect::ReadScene(*document->database());

    inspect::DrawingFacts facts;
    facts.label = inspect::ShownPath(options.drawing);
    facts.printFilePath = document->fileName() + kPrintFileSuffix;
    facts.printFileExists = velmarin::util::FileExists(facts.printFilePath);

    // The plug-in's readers on the drawing, as the save command, the batch run and a load run them.
    const inspect::Installation installation = inspect::ReadInstallation(os, false);
    inspect::Readings readings;
    if (installation.titleBlock.listing.exists) {
        readings.titleBlock = inspect::ReadTitleBlockReading(installation);
    }
    readings.partsList = inspect::ReadPartsListReading(
        velmarin::text::ReplaceExtension(document->fileName(), kBomFileExtension));
    readings.printFlow = inspect::ReadPrintFlowReading(facts.printFilePath);

    inspect::Overlays overlays;
    inspect::ReportWriter report(std::cout);
    inspect::WriteReport(report, installation, scene, facts, readings, overlays);
    std::cout.flush();

    if (!options.svgFile.empty()) {
        // Written whole or not at all, as every file of the system.
        const std::string picture = inspect::DrawSvg(scene, overlays, facts.label);
        // The platform resolves Windows paths; an absolute path of this system passes as it is.
        const std::string target = !velmarin::util::DriveOf(options.svgFile).empty()
                                       ? options.svgFile
                                       : platform::AbsolutePath(options.svgFile);
        const std::unique_ptr<platform::OutputFile> out = os.createFile(target);
        if (!out || !out->write(picture) || !out->commit()) {
            Error("cannot write the picture " + options.svgFile);
            return kExitProblem;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    inspect::InspectOptions options;
    std::string error;
    switch (
        inspect::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        case inspect::ParseResult::Help:
            std::cout << inspect::UsageText();
            return 0;
        case inspect::ParseResult::Version:
            std::cout << "velmarin-inspect " << VELMARIN_VERSION << '\n';
            return 0;
        case inspect::ParseResult::Error:
            Error(error + " (see --help)");
            return kExitUsage;
        case inspect::ParseResult::Run:
            break;
    }

    // The platform as the emulator sets it up; the plug-in's file is named, never loaded.
    const std::string program = platform::ModulePathOf(reinterpret_cast<const void*>(&ThisProgram));
    const std::string module = platform::BesideFile(program, "Velmarin.arx");
    platform::RecordingNotifier notifier;
    platform::SimulatedClock clock;
    velmarin::emulator::NativePlatform native = velmarin::emulator::MakeNativePlatform(
        {options.drives, options.registryFile, program, module}, notifier, clock);
    if (!native.error.empty()) {
        Error(native.error);
        return kExitUsage;
    }
    host::sim::SimHost simHost(std::move(native.resolve));
    platform::install(native.platform.get());
    host::install(&simHost);
    const int status =
        options.check ? Check(*native.platform) : Inspect(*native.platform, simHost, options);
    host::install(nullptr);
    platform::install(nullptr);
    return status;
}
