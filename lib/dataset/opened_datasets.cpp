#include "dataset/opened_datasets.h"

#include <QLoggingCategory>
#include <exception>
#include <utility>

#include "dataset/dataset.h"

Q_DECLARE_LOGGING_CATEGORY(lcDataset)

namespace ds {

OpenedDatasets::~OpenedDatasets()
{
    try {
        close();
    } catch (const std::exception& e) {
        qCWarning(lcDataset) << "closing datasets after their work failed:" << e.what();
    }
}

OpenedDatasets::OpenedDatasets(OpenedDatasets&& other) noexcept
    : opened_(std::exchange(other.opened_, {})), afterClosing_(std::exchange(other.afterClosing_, {}))
{
}

OpenedDatasets& OpenedDatasets::operator=(OpenedDatasets&& other) noexcept
{
    if (this != &other) {
        OpenedDatasets old(std::move(*this));
        opened_ = std::exchange(other.opened_, {});
        afterClosing_ = std::exchange(other.afterClosing_, {});
    }
    return *this;
}

void OpenedDatasets::open(Dataset& d)
{
    if (d.isActive())
        return;
    d.open();
    opened_.push_back(&d);
}

void OpenedDatasets::own(Dataset& d)
{
    if (!d.isActive())
        d.open();
    opened_.push_back(&d);
}

void OpenedDatasets::close()
{
    // Every one is closed even when one fails; the first failure is thrown afterwards.
    std::exception_ptr failure;
    while (!opened_.empty()) {
        Dataset* d = opened_.back();
        opened_.pop_back();
        try {
            d->close();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    for (auto& step : std::exchange(afterClosing_, {})) {
        try {
            step();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace ds
