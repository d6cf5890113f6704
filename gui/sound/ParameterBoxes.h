// Rows of typed parameters in a grid: caption, box, unit and, under them, the message that says what is
// wrong with the value (the box then gets a red frame). The sound window keeps one for the woofer's
// Thiele/Small parameters and one for the box and car options.
#pragma once

#include <QString>

#include <span>
#include <string_view>
#include <vector>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace kelvra
{

struct ParameterField {
    std::string_view key; // the key in the project file and on kelvra-calc's command line
    const char* caption;  // as a data sheet writes it, e.g. "Qts"
    const char* unit;
    const char* hint;        // the tooltip; empty for none
    const char* placeholder; // what an empty box stands for, shown greyed in it; empty for none
};

class ParameterBoxes
{
public:
    // Adds two rows per field (the box, its message) to `grid` from `firstRow` down, in columns 0 to 3;
    // the widgets belong to `owner`. Each box is named "txt" + caption ("txtQts"), each message
    // "lblError" + caption.
    ParameterBoxes(QWidget* owner, QGridLayout* grid, int firstRow, std::span<const ParameterField> fields);

    // The box of a key, nullptr when this grid has none.
    QLineEdit* box(std::string_view key) const;
    QLabel* errorLabel(std::string_view key) const;
    std::span<const ParameterField> fields() const { return m_fields; }
    const std::vector<QLineEdit*>& boxes() const { return m_boxes; }

    // Shows the message at the key's box, or clears it when the message is empty.
    void setError(std::string_view key, const QString& message);
    void clearErrors();

private:
    int indexOf(std::string_view key) const;

    std::span<const ParameterField> m_fields;
    std::vector<QLineEdit*> m_boxes;
    std::vector<QLabel*> m_errors;
};

} // namespace kelvra
