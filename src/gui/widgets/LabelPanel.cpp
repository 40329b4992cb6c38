#include "widgets/LabelPanel.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>

namespace kov {

LabelPanel::LabelPanel(const QString& title, const char* captionPrefix, const char* valuePrefix, int rows,
                       QWidget* parent)
    : QGroupBox(title, parent) {
    auto* layout = new QGridLayout(this);
    // Values keep their leading blanks (the sign position), so they line up
    // only in a fixed-pitch font.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int row = 0; row < rows; ++row) {
        auto* caption = new QLabel(this);
        caption->setObjectName(QString("%1_%2").arg(captionPrefix).arg(row));
        auto* value = new QLabel(this);
        value->setObjectName(QString("%1_%2").arg(valuePrefix).arg(row));
        // Engine texts are shown as written, never read as markup.
        caption->setTextFormat(Qt::PlainText);
        value->setTextFormat(Qt::PlainText);
        value->setFont(fixed);
        value->setFrameShape(QFrame::StyledPanel);
        value->setFrameShadow(QFrame::Sunken);
        value->setMinimumWidth(fontMetrics().horizontalAdvance(QString(14, '0')));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(caption, row, 0);
        layout->addWidget(value, row, 1);
        captions_.push_back(caption);
        values_.push_back(value);
    }
    layout->setColumnStretch(1, 1);
}

void LabelPanel::Show(const std::vector<LabelPair>& labels) {
    for (std::size_t row = 0; row < captions_.size(); ++row) {
        captions_[row]->setText(row < labels.size() ? QString::fromStdString(labels[row].Caption) : QString());
        values_[row]->setText(row < labels.size() ? QString::fromStdString(labels[row].Value) : QString());
    }
}

void LabelPanel::Update(const std::vector<LabelPair>& labels) {
    for (std::size_t row = 0; row < captions_.size() && row < labels.size(); ++row) {
        captions_[row]->setText(QString::fromStdString(labels[row].Caption));
        values_[row]->setText(QString::fromStdString(labels[row].Value));
    }
}

void LabelPanel::SetRowVisible(int row, bool visible) {
    Caption(row)->setVisible(visible);
    Value(row)->setVisible(visible);
}

// A row counts as hidden only when it was hidden on purpose: on a page not
// yet shown every label is still hidden.
std::vector<LabelPair> LabelPanel::ShownPairs() const {
    std::vector<LabelPair> pairs;
    for (std::size_t row = 0; row < captions_.size(); ++row)
        if (!captions_[row]->testAttribute(Qt::WA_WState_ExplicitShowHide) || !captions_[row]->isHidden())
            pairs.push_back({captions_[row]->text().toStdString(), values_[row]->text().toStdString()});
    return pairs;
}

}  // namespace kov
