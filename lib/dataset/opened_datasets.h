#pragma once

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
    // Closes what was opened here now; a failure throws (the destructor only logs it).
    void close();

private:
    std::vector<Dataset*> opened_;
};

} // namespace ds
