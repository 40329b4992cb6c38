#pragma once
// What a widget shows, turned back into the batch document's values: a
// chart's rich text as the plain text it draws, a formatted figure as the
// number it stands for.

#include <QString>
#include <optional>
#include <string>

namespace kov::snapshot {

// A chart title, category or legend as it reads on screen: the escapes and
// kept blanks of rich text undone, and the zero-width spaces that keep equal
// categories apart dropped.
std::string DrawnText(const QString& rich);

// A chart title drawn as "title<br>subtitle", split again; no break gives an
// empty subtitle.
std::pair<std::string, std::string> DrawnTitles(const QString& rich);

// The number a shown figure stands for: surrounding blanks dropped, digit
// grouping read as such, and a decimal comma as a decimal point ("1,362,870",
// " 12.34", "3,5"). None for text that is no figure.
std::optional<double> ShownNumber(const QString& shown);

}  // namespace kov::snapshot
