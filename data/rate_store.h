#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Tdm_1;

namespace data {

// One rate as a rate file gives it.
struct RateRow {
    qint64 vehicleType = 0;
    qint64 fuel = 0;
    double ratePerTonne = 0;
    qint64 year = 0;
};

// Loading a rate file is one unit of work: one desk at a time (the work lock, waited for up to
// its bound), its own transaction, committed by finish() and rolled back on every other path.
class RateStore {
public:
    // Throws std::runtime_error with a Polish text when another desk is loading rates.
    RateStore(Tdm_1& dm, const std::function<void()>& waiting);
    ~RateStore();
    RateStore(const RateStore&) = delete;
    RateStore& operator=(const RateStore&) = delete;

    // The insert a line of a rate file ends, as the log shows it before the line.
    static QString statementHead();

    // Stores the rates, many to a statement, uncommitted. Returns for each the engine's words
    // when it refused that row (the others are stored); throws when the server is gone
    // (every row would fail alike).
    std::vector<std::optional<QString>> insert(const std::vector<RateRow>& rates);
    // Commits the rates and brings the optimizer's figures of the rates' indexes up to date.
    void finish();

private:
    struct Work;
    std::unique_ptr<Work> work_;
};

} // namespace data
