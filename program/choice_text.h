#pragma once

#include <QString>
#include <string_view>

#include "engine/choices.h"

namespace veltrix {

// The engine's names of a choice as the windows show them.
inline QString ChoiceText(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename E>
QString LabelOf(E value) {
    return ChoiceText(RowOf(value).Label);
}

template <typename E>
QString MenuTextOf(E value) {
    return ChoiceText(RowOf(value).MenuText);
}

// The specification screen's drop-down items: the rows that have one, in the table's order.
template <typename E>
QStringList ListItemsOf() {
    QStringList items;
    for (const auto& row : ChoicesOf(E{})) {
        if (!row.ListText.empty()) items << ChoiceText(row.ListText);
    }
    return items;
}

}  // namespace veltrix
