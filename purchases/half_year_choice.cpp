#include "purchases/half_year_choice.h"

namespace purchases {

int preselectedHalfYear(int month)
{
    return month >= 2 && month <= 7 ? 0 : 1;
}

} // namespace purchases
