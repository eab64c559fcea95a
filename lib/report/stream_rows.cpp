#include "report/stream_rows.h"

namespace report {

StreamRows::StreamRows(const QStringList& columns) : held_(columns) {}

void StreamRows::restart(Reader reader)
{
    held_.setRows({});
    first_ = 0;
    reader_ = std::move(reader);
}

bool StreamRows::hasRow(int row)
{
    while (reader_ && row >= rowCount()) {
        std::optional<QVariantList> next = reader_();
        if (!next) {
            reader_ = nullptr;
            break;
        }
        held_.append(std::move(*next));
    }
    return row >= first_ && row < rowCount();
}

void StreamRows::moveTo(int row)
{
    if (row <= first_)
        return;
    const int passed = std::min(row, rowCount()) - first_;
    held_.dropFirst(passed);
    first_ += passed;
}

} // namespace report
