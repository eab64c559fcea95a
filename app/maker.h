#pragma once

// The program's maker, as the about box and the Informacje menu show it. UTF-8 text.
namespace maker {

inline constexpr const char* name = "Quillform Sp. z o.o.";
inline constexpr const char* trade = "Oprogramowanie dla biur rachunkowych";
inline constexpr const char* address = "ul. Ogrodowa 14, 60-101 Poznań";
inline constexpr const char* telephone = "tel. 61 555 01 20";
inline constexpr const char* web = "https://www.quillform.pl";
inline constexpr const char* mail = "biuro@quillform.pl";

} // namespace maker
