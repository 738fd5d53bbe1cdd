#pragma once

#include <string>
#include <string_view>

namespace qzkiro::core {

// Constants the add-on carries enciphered (RC4, hexadecimal) so they are not
// readable in the binary: the log key and the two keys that protect stored
// credentials.
inline constexpr std::string_view kChiaveLogCifrata = "6F7E94CE158C5AE025D8426028";
inline constexpr std::string_view kChiaveProtezione1Cifrata = "6F7E94CE75B250E327D8426028";
inline constexpr std::string_view kChiaveProtezione2Cifrata = "754DB6CE44B454EB61DB";

// Deciphers one of the constants above with clsRC4 under a key built at run
// time; "" when `esadecimale` is not hexadecimal.
std::string DecifraCostante(std::string_view esadecimale);

}  // namespace qzkiro::core
