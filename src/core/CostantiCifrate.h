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
// The password of the e-prescription client certificate, enciphered under the
// upper-cased name of the add-on's maker (kAziendaPlugin).
inline constexpr std::string_view kPasswordCertificatoDemCifrata =
    "70D922CCD88B7A00B7E99A4EE50EFDF28C";
inline constexpr std::string_view kAziendaPlugin = "Telvora";

// Deciphers one of the constants above with clsRC4 under a key built at run
// time; "" when `esadecimale` is not hexadecimal.
std::string DecifraCostante(std::string_view esadecimale);
// The same under an explicit key.
std::string DecifraCostante(std::string_view esadecimale, std::string_view chiave);

}  // namespace qzkiro::core
