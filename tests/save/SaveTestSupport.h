#pragma once
// The save and save-as command tests: client behaviour, the script in the plug-in's folder, and
// the client's calls as "code=C<TAB>param1=…" lines.

#include <fstream>
#include <string>
#include <vector>

#include "support/DrawingWorld.h"
#include "support/TreeFileNames.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {

class SaveCommandTest : public DrawingWorld {
  protected:
    // An operation script that downloads once (code 8), so that its run shows in the call log.
    void leaveOperateScript() {
        std::ofstream(world.root() + "/App/temp/Operate.ini", std::ios::binary)
            << "[Download]\r\nf1=server.dwg<D:\\local.dwg\r\n";
    }

    // Each call's code and the parameters that call wrote. The exchange file keeps parameters
    // of earlier calls, so only the first `count` are shown.
    std::vector<std::string> calls() {
        std::vector<std::string> lines;
        for (const std::string& line : world.clientCalls()) {
            const int code = std::stoi(line.substr(5));
            const int count = code == 12                ? 3
                              : code == 7 || code == 3  ? 1
                              : code == 10 || code == 8 ? 2
                                                        : 0;
            std::size_t end = 0;
            for (int field = 0; field <= count && end != std::string::npos; ++field) {
                end = line.find('\t', end + 1);
            }
            lines.push_back(line.substr(0, end));
        }
        return lines;
    }

    // The message boxes, each with the number of client calls made before it was shown.
    void recordMessageOrder() {
        world.notifier().setListeners(
            [this](const platform::ShownMessage& message) {
                orderedMessages.push_back(std::to_string(world.clientCalls().size()) + ":" +
                                          message.text);
            },
            nullptr);
    }

    std::vector<std::string> orderedMessages;
};

}  // namespace velmarin::testing
