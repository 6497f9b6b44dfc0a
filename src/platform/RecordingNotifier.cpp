#include "platform/RecordingNotifier.h"

#include <utility>

namespace velmarin::platform {

void RecordingNotifier::messageBox(const std::string& text, const std::string& title,
                                   MessageIcon icon) {
    messages_.push_back({text, title, icon});
    if (onMessage_) onMessage_(messages_.back());
}

std::optional<std::vector<std::string>> RecordingNotifier::openFileDialog(
    const OpenFileDialogSpec& request) {
    dialogs_.push_back(request);
    std::optional<std::vector<std::string>> answer;
    if (!answers_.empty()) {
        answer = std::move(answers_.front());
        answers_.pop_front();
    }
    if (onDialog_) onDialog_(answer);
    return answer;
}

void RecordingNotifier::queueDialogAnswer(std::optional<std::vector<std::string>> answer) {
    answers_.push_back(std::move(answer));
}

void RecordingNotifier::setListeners(MessageListener onMessage, DialogListener onDialog) {
    onMessage_ = std::move(onMessage);
    onDialog_ = std::move(onDialog);
}

void RecordingNotifier::clear() {
    messages_.clear();
    dialogs_.clear();
    answers_.clear();
}

}  // namespace velmarin::platform
