#pragma once
// Shows the engine's messages as modal message boxes.

#include <QPointer>
#include <QWidget>

#include "common/Message.h"

namespace kov {

class QtMessageSink : public MessageSink {
public:
    void SetParent(QWidget* parent) { parent_ = parent; }
    void Show(const Message& message) override;
    void Beep() override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace kov
