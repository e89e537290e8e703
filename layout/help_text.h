#pragma once

#include <array>

namespace hashigoro::layout {

// The twelve lines that the help window prints, UTF-8, one line each. The indentation is made of
// full-width spaces (U+3000); line 9 continues line 8 and stands one space further left.
inline constexpr std::array<const char*, 12> kHelpText = {
    "",
    "　【問　　題】",
    "　　　　　　　　みなさんは、抽選に「はしごろう」を使うことがありますか。",
    "　　　　　　　　ところで、この「はしごろう」は、どこをひいてもほんとうに平等なのでしょうか。",
    "　　　　　　　　もし、平等でないとしたらどんなことが言えるのでしょうか。",
    "",
    "　【操作方法】",
    "　　　　　　　　はしごろう横線本数設定のウィンドウで、はしごろうの横線の本数を整数で入力し",
    "　　　　　　　［ＯＫ］ボタンをクリックします。",
    "　　　　　　　　［はしごろう作成・抽選の開始］ボタンをクリックすると、実験が開始されます。",
    "　　　　　　　　［停止］ボタンをクリックすると、はしごろう作成・抽選が止まります。",
    "　　　　　　　　［初期化］ボタンをクリックすると、始めから実験をやり直せます。",
};

}  // namespace hashigoro::layout
