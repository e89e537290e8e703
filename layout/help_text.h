#pragma once

#include <array>

#include "text_id.h"

namespace hashigoro::layout {

// The twelve lines that the help window prints, one line each. In Japanese the indentation is
// made of full-width spaces (U+3000); line 9 continues line 8 and stands one space further left.
inline constexpr std::array<TextId, 12> kHelpText = {
    TextId::HelpLine1, TextId::HelpLine2,  TextId::HelpLine3,  TextId::HelpLine4,
    TextId::HelpLine5, TextId::HelpLine6,  TextId::HelpLine7,  TextId::HelpLine8,
    TextId::HelpLine9, TextId::HelpLine10, TextId::HelpLine11, TextId::HelpLine12,
};

}  // namespace hashigoro::layout
