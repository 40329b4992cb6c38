#pragma once
// Conversion of one numeric report column. The host writes numbers right- or
// left-aligned in blank-padded columns; reports from a non-USA environment use
// "," as the decimal separator. Integer fields take the rounded value of the
// decimal text (ties to even), as the collection tool may write "12.0".

#include <stdexcept>
#include <string>
#include <string_view>

namespace kov {

enum class NumberKind { Int16, Int32, Double };

// Why a field is not a number, worded for the user; becomes the
// "Error Description" of the field-error message.
class FieldError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws FieldError for a blank field, text that is not a number, or a value
// outside the range of the field's kind. With decimalComma, "," is the
// decimal separator (a "." left before column 57 is accepted as well).
double ParseNumberField(std::string_view field, NumberKind kind, bool decimalComma);

// Field text made safe to quote in a message: control bytes become '?', and
// very long text is shortened.
std::string QuotableFieldText(std::string_view field);

}  // namespace kov
