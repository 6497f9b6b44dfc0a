#pragma once
// The seven user commands. Each receives the services it needs from the application.

#include "platform/Platform.h"

namespace velmarin {
class BomWorkspace;
class Drawings;
class OperationScriptRunner;
class VordClient;
}  // namespace velmarin

namespace velmarin::commands {

struct SaveContext;

void openmethod(VordClient& vord, OperationScriptRunner& scripts);
void savemethod(VordClient& vord, OperationScriptRunner& scripts, Drawings& drawings,
                BomWorkspace& bom, SaveContext& save);
void loginmethod(VordClient& vord);
void saveasmethod(VordClient& vord, OperationScriptRunner& scripts, Drawings& drawings,
                  SaveContext& save);
// Starts `batchRun` from the message loop once the command has ended: the batch opens and closes
// documents, which the host allows only outside a command.
void VORD_batchchange(VordClient& vord, platform::TimerProc batchRun);
void savebom(VordClient& vord, BomWorkspace& bom);
void PrintMethod(VordClient& vord);

// The batch timer's id; the timer procedure kills it so that one command gives one run.
inline constexpr std::uintptr_t kBatchTimerId = 1;

}  // namespace velmarin::commands
