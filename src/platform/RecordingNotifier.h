#pragma once
// A notifier that shows nothing: it records every message box, answers file dialogs from a
// queue (cancelled when the queue is empty) and tells an optional listener about each event.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace velmarin::platform {

struct ShownMessage {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
};

class RecordingNotifier : public Notifier {
  public:
    using MessageListener = std::function<void(const ShownMessage&)>;
    // Called with the number of files chosen, or nothing for a cancelled dialog.
    using DialogListener = std::function<void(const std::optional<std::vector<std::string>>&)>;

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    std::optional<std::vector<std::string>> openFileDialog(
        const OpenFileDialogSpec& request) override;

    void queueDialogAnswer(std::optional<std::vector<std::string>> answer);
    void setListeners(MessageListener onMessage, DialogListener onDialog);

    const std::vector<ShownMessage>& messages() const { return messages_; }
    const std::vector<OpenFileDialogSpec>& dialogs() const { return dialogs_; }
    void clear();

  private:
    std::vector<ShownMessage> messages_;
    std::vector<OpenFileDialogSpec> dialogs_;
    std::deque<std::optional<std::vector<std::string>>> answers_;
    MessageListener onMessage_;
    DialogListener onDialog_;
};

}  // namespace velmarin::platform
