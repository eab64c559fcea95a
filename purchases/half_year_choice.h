#pragma once

// A rule of the purchase screen that needs no window: the half-year it offers first.
namespace purchases {

// The half-year (0 for I, 1 for II) preselected in month 1..12: II in January, I from
// February to July, II from August to December.
int preselectedHalfYear(int month);

} // namespace purchases
