#include "script_texts.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace {

std::string gbk_to_utf8(const std::string& gbk) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string in = gbk;
    std::string out(in.size() * 4, '\0');
    char* in_p = in.data();
    char* out_p = out.data();
    size_t in_left = in.size(), out_left = out.size();
    EXPECT_NE(iconv(cd, &in_p, &in_left, &out_p, &out_left), static_cast<size_t>(-1));
    iconv_close(cd);
    out.resize(out.size() - out_left);
    return out;
}

TEST(ScriptTexts, BothFormsSayTheSame) {
    EXPECT_EQ(std::string(script_error_format.utf8), u8"执行脚本出错：\r\n%s\r\n");
    EXPECT_EQ(std::string(version_text_format.utf8),
              u8"By olvane \n欢迎使用(V1.3)\r\n插件编译时间(%s)\r\n");
    for (const ConsoleText* text : {&script_error_format, &version_text_format}) {
        EXPECT_EQ(gbk_to_utf8(text->gbk), text->utf8);
        EXPECT_NE(std::string(text->gbk), text->utf8);
    }
}

}  // namespace
