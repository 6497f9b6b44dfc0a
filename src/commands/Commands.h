#pragma once
// The seven user commands and the batch run. Each receives the services it needs from the
// application.

#include "platform/Platform.h"

namespace velmarin {
class Drawings;
class OperationScriptRunner;
class VordClient;
}  // namespace velmarin

namespace velmarin::commands {

struct SaveContext;

void openmethod(VordClient& vord, OperationScriptRunner& scripts);
void savemethod(VordClient& vord, OperationScriptRunner& scripts, Drawings& drawings,
                SaveContext& save);
void loginmethod(VordClient& vord);
void saveasmethod(VordClient& vord, OperationScriptRunner& scripts, Drawings& drawings,
                  SaveContext& save);
// Starts `batchRun` from the message loop once the command has ended: the batch opens and closes
// documents, which the host allows only outside a command.
void VORD_batchchange(VordClient& vord, platform::TimerProc batchRun);
// The batch run itself, from the timer: the user picks drawings; each is opened, written to the
// tree file with its title block and its parts list read, and closed; parts are linked to their
// assemblies, each drawing's remaining rows go to its detail file and the tree file goes to the
// VORD client. Progress and a summary go to the command line.
void BatchRun(VordClient& vord, Drawings& drawings);
void savebom(VordClient& vord);
void PrintMethod(VordClient& vord);

// The batch timer's id; the timer procedure kills it so that one command gives one run.
inline constexpr std::uintptr_t kBatchTimerId = 1;

}  // namespace velmarin::commands
