#include "detail/write_all.hpp"

#include <cerrno>
#include <unistd.h>

namespace kelvane::platform::detail {

std::size_t writeAll(int file, std::string_view bytes) {
    std::size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t written = ::write(file, bytes.data() + total, bytes.size() - total);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break;
        }
        total += static_cast<std::size_t>(written);
    }
    return total;
}

}  // namespace kelvane::platform::detail
