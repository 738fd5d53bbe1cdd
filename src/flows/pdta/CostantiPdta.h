#pragma once

#include <string_view>

namespace qzkiro::pdta {

// The account of the PDTA indicator files on the units' SFTP servers, held
// enciphered: the host's DecodeBF under the first protection key gives the
// user name and the password back. Made once with the host's matching
// encipherment under that key.
inline constexpr std::string_view kUtenteSftpCifrato =
    "uI6BhhOeF1vH1oMr5I4tg+gD1HTpriU7jWzOd+QeUVOlJlCf";
inline constexpr std::string_view kPasswordSftpCifrata =
    "xfqQ1w0EzvYjGUkUR28t5WEC5lKRzaxUWJ/ye2x/DkbzF6C2W9n0PjxPbztd2Hf1";

}  // namespace qzkiro::pdta
