#pragma once
// The seven user commands. Each takes what it needs from the shared objects and the host.

namespace velmarin::commands {

void openmethod();        // commands/OpenCommand.cpp
void savemethod();        // commands/SaveCommand.cpp
void loginmethod();       // commands/LoginCommand.cpp
void saveasmethod();      // commands/SaveAsCommand.cpp
void VORD_batchchange();  // commands/BatchCommand.cpp
void savebom();           // commands/SaveBomCommand.cpp
void PrintMethod();       // commands/PrintCommand.cpp

}  // namespace velmarin::commands
