#pragma once
// What the window shows, as one comparable list of lines: every widget a user
// can see (by its path of object names) with its text, table, selection,
// scroll position, chart and enabled state. Two windows that show the same
// thing give the same lines, so a window that went Back and read another
// report can be compared with a fresh window on that report.

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QStringList>
#include <QTabWidget>
#include <QTreeWidget>
#include <map>
#include <string>
#include <vector>

#include "widgets/ChartWidget.h"

namespace kov::test {

// The names of the widget and its named ancestors; a widget of Qt's own
// making (no name, or "qt_...") is read through the named view it belongs to.
inline bool IsOurs(const QWidget* widget) {
    return !widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_");
}

inline QString WidgetPath(const QWidget* widget, const QWidget* top) {
    QStringList parts;
    for (const QWidget* w = widget; w != nullptr && w != top; w = w->parentWidget())
        if (IsOurs(w)) parts.prepend(w->objectName());
    return parts.join('/');
}

inline QString ModelText(const QAbstractItemModel& model) {
    QStringList lines;
    QStringList headings;
    for (int column = 0; column < model.columnCount(); ++column)
        headings << model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    lines << headings.join('|');
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.data(model.index(row, column), Qt::DisplayRole).toString();
        lines << cells.join('|');
    }
    return lines.join('\n');
}

inline QString ChartText(const ChartData& chart) {
    QStringList points;
    for (const ChartPoint& point : chart.Points)
        points << QString::fromStdString(point.Label) + "=" + QString::number(point.Value);
    return QString::fromStdString(chart.Title + " / " + chart.Subtitle) + " [" + points.join(", ") + "]";
}

// Path -> what it shows, for the widgets visible in the window.
inline std::map<QString, QString> WindowState(QWidget& window) {
    std::map<QString, QString> state;
    state["(title)"] = window.windowTitle();
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!IsOurs(widget) || !widget->isVisibleTo(&window) || widget->isWindow()) continue;
        const QString path = WidgetPath(widget, &window);
        QString shown = widget->isEnabled() ? "" : "(disabled) ";
        if (auto* label = qobject_cast<QLabel*>(widget)) shown += label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            shown += button->text() + (button->isChecked() ? " (checked)" : "");
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) shown += edit->text();
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            shown += QString("%1 of %2").arg(combo->currentText()).arg(combo->count());
        if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            shown += QString("page %1;").arg(tabs->currentIndex());
            for (int page = 0; page < tabs->count(); ++page)
                shown += QString(" %1%2%3").arg(tabs->tabText(page), tabs->isTabEnabled(page) ? "" : "(disabled)",
                                                tabs->isTabVisible(page) ? "" : "(hidden)");
        }
        if (auto* chart = qobject_cast<ChartWidget*>(widget)) shown += ChartText(chart->Shown());
        if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
            shown += ModelText(*view->model());
            QStringList selected;
            if (view->selectionModel() != nullptr)
                for (const QModelIndex& index : view->selectionModel()->selectedRows())
                    selected << view->model()->data(index, Qt::DisplayRole).toString();
            shown += "\nselected: " + selected.join(',');
        }
        if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
            shown += QString("\nscrolled: %1,%2")
                         .arg(area->horizontalScrollBar()->value())
                         .arg(area->verticalScrollBar()->value());
        state[path] = shown;
    }
    return state;
}

// The lines in which two states differ, for a readable failure.
inline std::vector<std::string> StateDifferences(const std::map<QString, QString>& expected,
                                                 const std::map<QString, QString>& actual) {
    std::vector<std::string> differences;
    for (const auto& [path, shown] : expected) {
        const auto other = actual.find(path);
        if (other == actual.end())
            differences.push_back(path.toStdString() + ": shown fresh, not after the reload: " + shown.toStdString());
        else if (other->second != shown)
            differences.push_back(path.toStdString() + ":\n  fresh:  " + shown.toStdString() +
                                  "\n  reload: " + other->second.toStdString());
    }
    for (const auto& [path, shown] : actual)
        if (!expected.contains(path))
            differences.push_back(path.toStdString() + ": shown after the reload only: " + shown.toStdString());
    return differences;
}

}  // namespace kov::test
