#include "dataset/error.h"

#include "firebird/error.h"

namespace ds {

bool isConnectionLost(const std::exception& failure)
{
    const auto* error = dynamic_cast<const fb::Error*>(&failure);
    return error && error->isConnectionLost();
}

} // namespace ds
