#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "controls/dbcs_text.h"

// The link label's fallback runs the program registered for web pages from a
// fixed command buffer of this many bytes, the terminating zero included.
constexpr std::size_t kBrowserCommandBufferSize = 520;

// The registered open command cut at its "\"%1\"" placeholder (at the opening
// quote) or else at "%1", each found as whole characters of the code page, then a space and the target without quotes, so the
// target is always the last argument and whatever followed the placeholder is
// dropped. A command with no placeholder stays whole.
//
// Nothing is returned when the result would not fit the buffer: a command
// shortened to fit would name another target or another program, so the
// fallback is abandoned instead, like a missing registration.
std::optional<std::string> ComposeBrowserCommand(const std::string& registered, const std::string& target,
                                                 LeadByteTest isLeadByte);
