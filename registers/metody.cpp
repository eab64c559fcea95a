#include "registers/metody.h"

#include <algorithm>
#include <array>

namespace {

// Ś Ź ś ź Ł Ą Ż ł ą ż Ć Ę Ń Ó ć ę ń ó in Windows-1250.
constexpr std::array<unsigned char, 18> polishLetters{140, 143, 156, 159, 163, 165, 175, 179, 185,
                                                     191, 198, 202, 209, 211, 230, 234, 241, 243};

} // namespace

void Tmetody::cyfryKeyPress(QObject*, unsigned char& Key)
{
    const bool punctuation = Key >= 32 && Key <= 47;
    const bool lettersAndSigns = Key >= 58 && Key <= 126;
    const bool polish = std::find(polishLetters.begin(), polishLetters.end(), Key) != polishLetters.end();
    if (punctuation || lettersAndSigns || polish)
        Key = 0;
}
