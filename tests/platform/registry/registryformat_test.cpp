// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/registry/registryformat.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using namespace mrb::platform;
using namespace std::string_literals;

TEST(RegistryFormat, StoresEveryValueTypeAndAwkwardTextExactly)
{
    RegistryKey root;
    root.setValue("", RegValue::string("root default"));
    RegistryKey &key = root.create("Odd [key] 100%\\name\twith\ncontrol");
    key.setValue("", RegValue::string("quote \" backslash \\ newline \n cr \r tab \t bell \a"));
    key.setValue("@", RegValue::string("a value named @, not the default"));
    key.setValue("bytes", RegValue::binary("\0\xff\x10 "s));
    key.setValue("empty bytes", RegValue::binary(""));
    key.setValue("max", RegValue::dword(0xFFFFFFFFu));
    key.setValue("expand", RegValue::expandString("%HOME%/x"));
    key.setValue("bytes of any kind", RegValue::string("caf\xe9 \xf0\x9f\x8e\xb5 \0 end"s));
    root.create("Empty");

    const std::string text = registryText(root);
    const auto back = parseRegistryText(text);
    ASSERT_TRUE(back.ok()) << back.reason() << "\n" << text;
    EXPECT_TRUE(*back == root) << text;
    EXPECT_EQ(registryText(*back), text);
}

// The text of one value of each kind, as the store files hold it.
TEST(RegistryFormat, WritesEachKindOfValueInItsOwnForm)
{
    const struct {
        const char *name;
        RegValue value;
        std::string line;
    } cases[] = {
        {"string", RegValue::string("a \"b\"\t\x01"), "\"v\"=\"a \\\"b\\\"\\t\\x01\""},
        {"expand string", RegValue::expandString("%HOME%"), "\"v\"=expand:\"%HOME%\""},
        {"dword", RegValue::dword(0xA0), "\"v\"=dword:000000a0"},
        {"binary", RegValue::binary("\x00\xff\x10"s), "\"v\"=hex:00,ff,10"},
        {"empty binary", RegValue::binary(""), "\"v\"=hex:"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RegistryKey root;
        root.create("K%\x7f").setValue("v", c.value);
        EXPECT_EQ(registryText(root), "QFC-REGISTRY 1\n\n[K%25%7f]\n" + c.line + "\n\n");
    }
}

TEST(RegistryFormat, RefusesTextThatIsNoRegistryFileSayingWhere)
{
    const struct {
        const char *name;
        const char *text;
        const char *reason;
    } cases[] = {
        {"no header", "hello\n", "line 1: not a registry file"},
        {"value outside a key", "QFC-REGISTRY 1\n@=\"outside a key\"\n", "line 2: value outside a key"},
        {"open key name", "QFC-REGISTRY 1\n[Key\n", "line 2: unterminated key name"},
        {"open value name", "QFC-REGISTRY 1\n[Key]\n\"open=\"x\"\n", "line 3: missing \"=\""},
        {"short dword", "QFC-REGISTRY 1\n[Key]\n\"n\"=dword:123\n", "line 3: bad value"},
        {"bad hex digit", "QFC-REGISTRY 1\n[Key]\n\"n\"=hex:0g\n", "line 3: bad value"},
        {"unknown escape", "QFC-REGISTRY 1\n[Key]\n\"n\"=\"bad \\q escape\"\n", "line 3: bad value"},
        {"cut escape in key", "QFC-REGISTRY 1\n[Key%2]\n", "line 2: bad key name"},
        {"no equals sign", "QFC-REGISTRY 1\n\n[Key]\n\"n\"\n", "line 4: missing \"=\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = parseRegistryText(c.text);
        EXPECT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.reason(), c.reason);
    }
    EXPECT_TRUE(parseRegistryText("").ok());
    EXPECT_TRUE(parseRegistryText("QFC-REGISTRY 1\r\n; a comment\r\n# another\r\n[K]\r\n@=\"v\"\r\n").ok());
}

TEST(RegistryFormat, RefusesKeysDeeperThanItsLimit)
{
    std::string path = "k";
    for (std::size_t level = 1; level <= maxRegistryKeyDepth; ++level)
        path += "\\k";
    const auto parsed = parseRegistryText("QFC-REGISTRY 1\n[" + path + "]\n");
    EXPECT_EQ(parsed.reason(), "line 2: a key nested deeper than 512 levels");
    EXPECT_TRUE(parseRegistryText("QFC-REGISTRY 1\n[" + path.substr(2) + "]\n").ok());
}

} // namespace
