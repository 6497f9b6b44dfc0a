#include "ProgramRun.h"

namespace velmarin::testing {
namespace {

std::string Quoted(const std::string& argument) { return "\"" + argument + "\""; }

}  // namespace

ProgramResult Execute(const std::string& program, const TempFolder& folder,
                      const std::vector<std::string>& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    auto open = [&](const std::string& path) {
        return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE out = open(folder / "out.txt");
    HANDLE err = open(folder / "err.txt");
    std::string command = Quoted(BinaryDir() + "\\" + program);
    for (const std::string& argument : arguments) command += " " + Quoted(argument);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    ProgramResult run;
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       folder.path().c_str(), &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 124);
        }
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    run.lines = folder.lines("out.txt");
    folder.read("out.txt", run.out);
    folder.read("err.txt", run.err);
    return run;
}

}  // namespace velmarin::testing
