#pragma once
// One step of the window (an activation, a pool change, a page switch) may
// meet the same failure in many charts: eleven graphic-summary charts of a
// report that was not read, every pool chart of a damaged pool. The DBA
// hears of each failure once per step, not once per chart.

#include <set>
#include <string>
#include <utility>

#include "common/Message.h"

namespace kov {

class OncePerStepSink : public MessageSink {
public:
    explicit OncePerStepSink(MessageSink& shown) : shown_(shown) {}

    // A message already shown within the step that is still running is dropped.
    void Show(const Message& message) override {
        if (depth_ > 0 && !seen_.insert({message.Title, message.Text}).second) return;
        shown_.Show(message);
    }
    void Beep() override { shown_.Beep(); }

    // A step lasts as long as this object; steps may nest, the outermost
    // one counts.
    class Step {
    public:
        explicit Step(OncePerStepSink& sink) : sink_(sink) { ++sink_.depth_; }
        ~Step() {
            if (--sink_.depth_ == 0) sink_.seen_.clear();
        }
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        OncePerStepSink& sink_;
    };

private:
    MessageSink& shown_;
    int depth_ = 0;
    std::set<std::pair<std::string, std::string>> seen_;
};

}  // namespace kov
