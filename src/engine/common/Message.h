#pragma once
// A message box as a value. The engine never shows anything: it hands each
// message to the sink it was given, and the front end decides how to show it
// (a modal box in the window, an array entry in the batch report, a recorded
// value in a test).

#include <string>
#include <vector>

namespace kov {

enum class MessageIcon { None, Information, Exclamation, Critical };

struct Message {
    std::string Title;
    std::string Text;
    MessageIcon Icon = MessageIcon::None;

    friend bool operator==(const Message&, const Message&) = default;
};

const char* IconName(MessageIcon icon);  // "information", "exclamation", ...

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void Show(const Message& message) = 0;
    // The include-object refusal sounds the terminal bell as well.
    virtual void Beep() {}
};

// Keeps every message in order; used by the batch report and the tests.
class CollectingSink : public MessageSink {
public:
    void Show(const Message& message) override { Messages.push_back(message); }
    void Beep() override { ++Beeps; }

    std::vector<Message> Messages;
    int Beeps = 0;
};

inline const char* IconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return "information";
        case MessageIcon::Exclamation:
            return "exclamation";
        case MessageIcon::Critical:
            return "critical";
        case MessageIcon::None:
            break;
    }
    return "none";
}

}  // namespace kov
