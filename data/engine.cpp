#include "data/engine.h"

#include "dataset/error.h"
#include "firebird/environment.h"
#include "firebird/error.h"

namespace data {

void prepareEngine()
{
    try {
        fb::prepareEnvironment();
    } catch (const fb::Error& e) {
        throw ds::Error(e.message());
    }
}

void logFailure(const std::exception& failure)
{
    fb::logFailure(failure);
}

void endProcess(int code)
{
    fb::endProcess(code);
}

} // namespace data
