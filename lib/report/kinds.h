#pragma once

namespace report {

// Where a band prints:
// PageHeader   at the top of every page;
// Title        once, on the first page, after the page header;
// ColumnHeader after the title on the first page, and at the top of every further page;
// Detail       once per row of the master;
// SubDetail    once per row of the detail dataset, after each master row's detail band;
// Summary      once, at the end;
// Child        right after the band it belongs to, as often as that band.
enum class BandKind { PageHeader, Title, ColumnHeader, Detail, SubDetail, Summary, Child };

// Horizontal alignment of a text within its item's width.
enum class Align { Left, Center, Right };

} // namespace report
