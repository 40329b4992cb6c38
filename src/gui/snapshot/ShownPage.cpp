#include "snapshot/ShownPage.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>

#include "snapshot/ShownText.h"
#include "snapshot/WidgetReading.h"
#include "widgets/ChartWidget.h"

namespace kov::snapshot {

namespace {

// A widget inside a grid or a chart is part of what that view shows.
bool InsideAView(const QWidget& widget, const QWidget& root) {
    for (const QWidget* up = widget.parentWidget(); up && up != &root; up = up->parentWidget())
        if (qobject_cast<const QAbstractItemView*>(up) || qobject_cast<const ChartWidget*>(up)) return true;
    return false;
}

std::string NameOf(const QWidget& widget) {
    const QString name = widget.objectName();
    return (name.isEmpty() ? QString(widget.metaObject()->className()) : name).toStdString();
}

json ItemView(const QAbstractItemView& view) {
    json grid = Grid(*view.model());
    grid["enabled"] = view.isEnabled();
    return grid;
}

json TabStrip(const QTabWidget& tabs) {
    json strip = json::array();
    for (int i = 0; i < tabs.count(); ++i)
        strip.push_back({{"text", tabs.tabText(i).toStdString()},
                         {"visible", tabs.isTabVisible(i)},
                         {"enabled", tabs.isTabEnabled(i)}});
    return {{"current", tabs.currentIndex()}, {"tabs", strip}};
}

// What one widget shows; null for a widget that shows nothing of its own.
json ShownBy(QWidget& widget) {
    if (auto* view = qobject_cast<QAbstractItemView*>(&widget)) return ItemView(*view);
    if (auto* chart = qobject_cast<ChartWidget*>(&widget)) return Chart(*chart);
    if (auto* tabs = qobject_cast<QTabWidget*>(&widget)) return TabStrip(*tabs);
    if (auto* label = qobject_cast<QLabel*>(&widget)) return label->text().toStdString();
    if (auto* box = qobject_cast<QLineEdit*>(&widget))
        return {{"text", box->text().toStdString()}, {"enabled", box->isEnabled()}};
    if (auto* combo = qobject_cast<QComboBox*>(&widget))
        return {
            {"text", combo->currentText().toStdString()}, {"items", combo->count()}, {"enabled", combo->isEnabled()}};
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        json shown = {{"text", button->text().toStdString()}, {"enabled", button->isEnabled()}};
        if (button->isCheckable()) shown["checked"] = button->isChecked();
        return shown;
    }
    return nullptr;
}

void CollectStrings(const json& value, std::vector<std::string>& texts) {
    if (value.is_string())
        texts.push_back(value.get<std::string>());
    else if (value.is_structured())
        for (const auto& item : value) CollectStrings(item, texts);
}

}  // namespace

json ReadShownWidgets(const QWidget& root) {
    json reading = json::array();
    reading.push_back({{"widget", "title"}, {"shows", root.windowTitle().toStdString()}});
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (!widget->isVisible() || InsideAView(*widget, root) || qobject_cast<QTabBar*>(widget)) continue;
        json shown = ShownBy(*widget);
        if (!shown.is_null()) reading.push_back({{"widget", NameOf(*widget)}, {"shows", std::move(shown)}});
    }
    return reading;
}

namespace {

std::string Dumped(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace).substr(0, 300);
}

// The first leaf where two values differ, as a path below the widget.
std::string LeafDifference(const json& walked, const json& fresh, const std::string& path) {
    if (walked.type() == fresh.type() && (walked.is_array() || walked.is_object()) && walked.size() == fresh.size()) {
        if (walked.is_array()) {
            for (std::size_t i = 0; i < walked.size(); ++i)
                if (walked[i] != fresh[i])
                    return LeafDifference(walked[i], fresh[i], path + "[" + std::to_string(i) + "]");
        } else {
            for (const auto& [key, value] : walked.items())
                if (!fresh.contains(key) || value != fresh[key]) {
                    std::string at = path;
                    at.append(".").append(key);
                    return fresh.contains(key) ? LeafDifference(value, fresh[key], at)
                                               : at.append(" is not in a fresh window");
                }
        }
    }
    return path + " shows " + Dumped(walked) + " where a fresh window shows " + Dumped(fresh);
}

}  // namespace

std::vector<std::string> Differences(const json& walked, const json& fresh) {
    std::vector<std::string> found;
    const std::size_t common = std::min(walked.size(), fresh.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (walked[i] == fresh[i]) continue;
        const std::string name = walked[i]["widget"].get<std::string>();
        if (name != fresh[i]["widget"].get<std::string>()) {
            found.push_back(name + " is shown where a fresh window shows " + fresh[i]["widget"].get<std::string>());
            return found;
        }
        found.push_back(LeafDifference(walked[i]["shows"], fresh[i]["shows"], name));
    }
    if (walked.size() > common)
        found.push_back(walked[common]["widget"].get<std::string>() + " is shown, a fresh window does not show it");
    else if (fresh.size() > common)
        found.push_back(fresh[common]["widget"].get<std::string>() + " is not shown, a fresh window shows it");
    return found;
}

std::string FirstDifference(const json& walked, const json& fresh) {
    const std::vector<std::string> found = Differences(walked, fresh);
    return found.empty() ? std::string() : found.front();
}

std::set<std::string> ShownWords(const json& reading) {
    std::vector<std::string> texts;
    for (const json& entry : reading) CollectStrings(entry["shows"], texts);
    std::set<std::string> words;
    static const std::string separators = " \t\r\n,;:()[]{}\"'<>=|*%";
    for (const std::string& text : texts) {
        const std::string plain = DrawnText(QString::fromStdString(text));
        std::size_t start = 0;
        while (start < plain.size()) {
            const std::size_t end = plain.find_first_of(separators, start);
            const std::size_t stop = end == std::string::npos ? plain.size() : end;
            if (stop > start) words.insert(plain.substr(start, stop - start));
            start = stop + 1;
        }
    }
    return words;
}

}  // namespace kov::snapshot
