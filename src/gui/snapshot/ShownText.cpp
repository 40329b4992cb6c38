#include "snapshot/ShownText.h"

#include <QRegularExpression>

namespace kov::snapshot {

std::string DrawnText(const QString& rich) {
    QString text = rich;
    text.remove(QChar(0x200B));
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.toStdString();
}

std::pair<std::string, std::string> DrawnTitles(const QString& rich) {
    const qsizetype lineBreak = rich.indexOf(QStringLiteral("<br>"));
    if (lineBreak < 0) return {DrawnText(rich), ""};
    return {DrawnText(rich.left(lineBreak)), DrawnText(rich.mid(lineBreak + 4))};
}

// The last separator is the decimal one when both kinds appear; a lone comma
// groups digits only when every group after one has three digits.
std::optional<double> ShownNumber(const QString& shown) {
    QString text = shown.trimmed();
    static const QRegularExpression figure(QStringLiteral("^[-+]?[0-9][0-9,.]*$"));
    if (!figure.match(text).hasMatch()) return std::nullopt;
    const qsizetype comma = text.lastIndexOf(','), point = text.lastIndexOf('.');
    static const QRegularExpression grouped(QStringLiteral("^[-+]?[0-9]{1,3}(,[0-9]{3})+$"));
    const bool decimalComma = point < 0 ? comma >= 0 && !grouped.match(text).hasMatch() : comma > point;
    if (decimalComma) {
        text.remove('.');
        text.replace(',', '.');
    } else {
        text.remove(',');
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok) return std::nullopt;
    return value;
}

}  // namespace kov::snapshot
