// List options and the remembered current rows.
#include "lists/ListOptions.h"

#include <array>
#include <cstddef>

namespace qv {
namespace {

std::array<RememberedRow, kFixedListCount>& Remembered()
{
    static std::array<RememberedRow, kFixedListCount> rows{};
    return rows;
}

} // namespace

ListOptions& CurrentListOptions()
{
    static ListOptions options;
    return options;
}

RememberedRow RememberedListRow(int32_t listNumber)
{
    if (listNumber < 0 || listNumber >= kFixedListCount)
        return {};
    return Remembered()[size_t(listNumber)];
}

void RememberListRow(int32_t listNumber, RememberedRow row)
{
    if (listNumber >= 0 && listNumber < kFixedListCount)
        Remembered()[size_t(listNumber)] = row;
}

void ForgetListRows() { Remembered() = {}; }

} // namespace qv
