#pragma once
// A page whose view is not part of this build: it says so plainly instead
// of showing empty controls.

#include <QWidget>

namespace kov {

class PendingPage : public QWidget {
    Q_OBJECT
public:
    PendingPage(const QString& what, QWidget* parent = nullptr);
};

}  // namespace kov
