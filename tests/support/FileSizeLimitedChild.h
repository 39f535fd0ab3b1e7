#pragma once

#include <sys/resource.h>

#include <functional>
#include <string>

// Runs `body` in a forked child whose files may not grow past `bytes` (SIGXFSZ ignored, so writes
// fail with EFBIG as on a full quota), and returns the text the body returned. The limit never
// touches the test process itself. A child that dies gives "child failed".
std::string runWithFileSizeLimit(rlim_t bytes, const std::function<std::string()>& body);
