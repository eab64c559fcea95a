#pragma once

#include <functional>
#include <vector>

namespace ds {

class Dataset;

// The datasets one piece of work opened, closed again (the last first) when it ends. A
// dataset that was open already belongs to whoever opened it and stays open.
class OpenedDatasets {
public:
    OpenedDatasets() = default;
    ~OpenedDatasets();
    OpenedDatasets(OpenedDatasets&& other) noexcept;
    OpenedDatasets& operator=(OpenedDatasets&& other) noexcept;
    OpenedDatasets(const OpenedDatasets&) = delete;
    OpenedDatasets& operator=(const OpenedDatasets&) = delete;

    // Opens `d` for this work; a failure to open throws and leaves `d` not taken.
    void open(Dataset& d);
    // Opens `d` unless it is open already, and closes it when this work ends either way: the
    // work owns it (a screen's own rows, which no other holder keeps open).
    void own(Dataset& d);
    // Runs after everything opened here is closed (a sort order put back, say).
    void whenClosed(std::function<void()> step) { afterClosing_.push_back(std::move(step)); }
    // Closes what was opened here now; a failure throws (the destructor only logs it).
    void close();

private:
    std::vector<Dataset*> opened_;
    std::vector<std::function<void()>> afterClosing_;
};

} // namespace ds
