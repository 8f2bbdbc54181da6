#pragma once
// The script host's two Chinese texts. They are kept as GBK (code page 936)
// bytes, the console's own encoding; a UTF-8 console gets the same text in
// UTF-8.

struct ConsoleText {
    const char* gbk;
    const char* utf8;
};

// "执行脚本出错：\r\n%s\r\n": a script that cannot be loaded or failed; %s is
// the engine's error text.
extern const ConsoleText script_error_format;

// "By olvane \n欢迎使用(V1.3)\r\n插件编译时间(%s)\r\n": %s is the 24-character
// build timestamp.
extern const ConsoleText version_text_format;

// The form of text that the console shows as intended.
const char* console_form(const ConsoleText& text);
