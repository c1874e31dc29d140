// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/registry/registrystore.h"

#include "platform/fs/filesystem.h"
#include "platform/fs/installlayout.h"
#include "platform/fs/safefile.h"
#include "platform/os/userfolders.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

constexpr std::string_view fileHeader = "QFC-REGISTRY 1";

std::string depthText()
{
    return "a key nested deeper than " + std::to_string(RegistryStore::maxKeyDepth) + " levels";
}

// How deep the keys below root nest (0 for a root without sub-keys), found
// without recursion.
std::size_t depthOf(const RegistryKey &root)
{
    std::size_t deepest = 0;
    std::vector<std::pair<const RegistryKey *, std::size_t>> stack {{&root, 0}};
    while (!stack.empty()) {
        const auto [key, depth] = stack.back();
        stack.pop_back();
        deepest = std::max(deepest, depth);
        for (const std::string &name : key->subKeyNames())
            stack.emplace_back(key->find(name), depth + 1);
    }
    return deepest;
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string errnoText(const std::string &what, const std::string &path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

// ---- text form ----------------------------------------------------------

constexpr char hexDigits[] = "0123456789abcdef";

void appendHexByte(std::string &out, unsigned char b)
{
    out += hexDigits[b >> 4];
    out += hexDigits[b & 0xF];
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

// Key paths: control characters and "%" as %hh.
std::string encodePath(std::string_view path)
{
    std::string out;
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (isControl(c) || c == '%') {
            out += '%';
            appendHexByte(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

std::optional<std::string> decodePath(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int hi = hexValue(text[i + 1]);
        const int lo = hexValue(text[i + 2]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::string quote(std::string_view text)
{
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (isControl(c)) {
                out += "\\x";
                appendHexByte(out, c);
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

// Reads a quoted string at text[pos]; pos ends after the closing quote.
std::optional<std::string> unquote(std::string_view text, std::size_t &pos)
{
    if (pos >= text.size() || text[pos] != '"')
        return std::nullopt;
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= text.size())
            return std::nullopt;
        switch (text[pos]) {
        case '\\':
            out += '\\';
            break;
        case '"':
            out += '"';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'x': {
            if (pos + 2 >= text.size())
                return std::nullopt;
            const int hi = hexValue(text[pos + 1]);
            const int lo = hexValue(text[pos + 2]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            out += static_cast<char>(hi * 16 + lo);
            pos += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string formatValue(const RegValue &v)
{
    switch (v.type) {
    case RegValueType::String:
        return quote(v.data);
    case RegValueType::ExpandString:
        return "expand:" + quote(v.data);
    case RegValueType::DWord: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(v.number));
        return buf;
    }
    case RegValueType::Binary: {
        std::string out = "hex:";
        for (std::size_t i = 0; i < v.data.size(); ++i) {
            if (i)
                out += ',';
            appendHexByte(out, static_cast<unsigned char>(v.data[i]));
        }
        return out;
    }
    }
    return quote(v.data);
}

std::optional<RegValue> parseValue(std::string_view text)
{
    std::size_t pos = 0;
    if (!text.empty() && text.front() == '"') {
        auto s = unquote(text, pos);
        if (!s || pos != text.size())
            return std::nullopt;
        return RegValue::string(std::move(*s));
    }
    if (text.starts_with("expand:")) {
        pos = 7;
        auto s = unquote(text, pos);
        if (!s || pos != text.size())
            return std::nullopt;
        return RegValue::expandString(std::move(*s));
    }
    if (text.starts_with("dword:")) {
        const std::string_view digits = text.substr(6);
        if (digits.size() != 8)
            return std::nullopt;
        std::uint32_t n = 0;
        for (const char c : digits) {
            const int d = hexValue(c);
            if (d < 0)
                return std::nullopt;
            n = (n << 4) | static_cast<std::uint32_t>(d);
        }
        return RegValue::dword(n);
    }
    if (text.starts_with("hex:")) {
        std::string_view rest = text.substr(4);
        std::string bytes;
        while (!rest.empty()) {
            if (rest.size() < 2)
                return std::nullopt;
            const int hi = hexValue(rest[0]);
            const int lo = hexValue(rest[1]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            bytes += static_cast<char>(hi * 16 + lo);
            rest.remove_prefix(2);
            if (!rest.empty()) {
                if (rest.front() != ',' || rest.size() == 1)
                    return std::nullopt;
                rest.remove_prefix(1);
            }
        }
        return RegValue::binary(std::move(bytes));
    }
    return std::nullopt;
}

void serializeKey(const RegistryKey &key, const std::string &path, bool isRoot, std::string &out)
{
    if (!isRoot || !key.values().empty()) {
        out += '[';
        out += encodePath(path);
        out += "]\n";
        for (const auto &[name, value] : key.values()) {
            out += name.empty() ? std::string("@") : quote(name);
            out += '=';
            out += formatValue(value);
            out += '\n';
        }
        out += '\n';
    }
    for (const std::string &child : key.subKeyNames()) {
        const RegistryKey *sub = key.find(child);
        // A name that splits differently (it cannot hold a separator) never occurs.
        if (sub)
            serializeKey(*sub, path.empty() ? child : path + "\\" + child, false, out);
    }
}

// ---- files and locks ----------------------------------------------------

bool makeFolders(const std::string &folder, std::string *error)
{
    std::string partial;
    std::size_t pos = 0;
    while (pos <= folder.size()) {
        const std::size_t next = folder.find('/', pos);
        partial = folder.substr(0, next == std::string::npos ? folder.size() : next);
        if (!partial.empty() && ::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            if (error)
                *error = errnoText("cannot create", partial);
            return false;
        }
        if (next == std::string::npos)
            break;
        pos = next + 1;
    }
    return true;
}

// Holds a flock on the store's lock file for its life.
class StoreLock
{
public:
    StoreLock(const std::string &folder, bool exclusive)
    {
        const std::string path = folder + "/.lock";
        m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0)
            m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0)
            return;
        int rc;
        do {
            rc = ::flock(m_fd, exclusive ? LOCK_EX : LOCK_SH);
        } while (rc != 0 && errno == EINTR);
        m_locked = rc == 0;
    }
    ~StoreLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;
    bool locked() const { return m_locked; }

private:
    int m_fd = -1;
    bool m_locked = false;
};

// The whole file; nothing with errno set when it cannot be read, and an empty
// text for a missing file.
std::optional<std::string> readFile(const std::string &path, std::string *error)
{
    // Non-blocking, so a FIFO put in the file's place cannot hold the open;
    // only a regular file is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::string();
        if (error)
            *error = errnoText("cannot open", path);
        return std::nullopt;
    }
    struct stat st {
    };
    const char *refusal = nullptr;
    if (::fstat(fd, &st) != 0)
        refusal = std::strerror(errno);
    else if (!S_ISREG(st.st_mode))
        refusal = S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file";
    else if (static_cast<std::uint64_t>(st.st_size) > RegistryStore::maxFileBytes)
        refusal = "it is larger than 64 MiB";
    if (refusal) {
        if (error)
            *error = "cannot read " + path + ": " + refusal;
        ::close(fd);
        return std::nullopt;
    }
    std::string text;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (error)
                *error = errnoText("cannot read", path);
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        text.append(buf, static_cast<std::size_t>(n));
        if (text.size() > RegistryStore::maxFileBytes) {
            if (error)
                *error = "cannot read " + path + ": it is larger than 64 MiB";
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    return text;
}

bool writeStore(const std::string &path, const std::string &text, std::string *error)
{
    // A new store file is private, as its folder is.
    const WriteResult written = writeFileSafely(path, text, SafeFileOptions {FolderLock::None, 0600});
    if (!written.ok() && error)
        *error = "cannot write " + path + ": " + written.reason();
    return written.ok();
}

} // namespace

// ---- names and keys ------------------------------------------------------

bool RegNameLess::operator()(std::string_view a, std::string_view b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(lowerAscii(x)) < static_cast<unsigned char>(lowerAscii(y));
    });
}

bool sameRegName(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::vector<std::string> splitRegPath(std::string_view path)
{
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        const std::size_t next = path.find('\\', pos);
        const std::string_view part =
            path.substr(pos, next == std::string_view::npos ? std::string_view::npos : next - pos);
        if (!part.empty())
            parts.emplace_back(part);
        if (next == std::string_view::npos)
            break;
        pos = next + 1;
    }
    return parts;
}

std::optional<RegistryRoot> registryRootOf(std::uint32_t handle)
{
    switch (handle) {
    case 0x80000000u:
    case 0x80000001u:
    case 0x80000002u:
    case 0x80000003u:
    case 0x80000005u:
        return static_cast<RegistryRoot>(handle);
    default:
        return std::nullopt;
    }
}

std::string_view registryRootName(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    case RegistryRoot::CurrentUser:
        return "HKEY_CURRENT_USER";
    case RegistryRoot::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::Users:
        return "HKEY_USERS";
    case RegistryRoot::CurrentConfig:
        return "HKEY_CURRENT_CONFIG";
    }
    return "HKEY_UNKNOWN";
}

RegistryKey::RegistryKey(const RegistryKey &other)
    : m_name(other.m_name)
    , m_values(other.m_values)
    , m_valueIndex(other.m_valueIndex)
{
    for (const auto &[name, child] : other.m_children)
        m_children.emplace(name, std::make_unique<RegistryKey>(*child));
}

RegistryKey::~RegistryKey()
{
    // Children are taken apart one level at a time, so a deep tree does not
    // make a deep chain of destructor calls.
    std::vector<std::unique_ptr<RegistryKey>> doomed;
    for (auto &[name, child] : m_children)
        doomed.push_back(std::move(child));
    m_children.clear();
    while (!doomed.empty()) {
        std::unique_ptr<RegistryKey> key = std::move(doomed.back());
        doomed.pop_back();
        for (auto &[name, child] : key->m_children)
            doomed.push_back(std::move(child));
        key->m_children.clear();
    }
}

RegistryKey &RegistryKey::operator=(const RegistryKey &other)
{
    if (this != &other) {
        RegistryKey copy(other);
        *this = std::move(copy);
    }
    return *this;
}

RegistryKey *RegistryKey::find(std::string_view path)
{
    RegistryKey *key = this;
    for (const std::string &part : splitRegPath(path)) {
        const auto it = key->m_children.find(part);
        if (it == key->m_children.end())
            return nullptr;
        key = it->second.get();
    }
    return key;
}

const RegistryKey *RegistryKey::find(std::string_view path) const
{
    return const_cast<RegistryKey *>(this)->find(path);
}

RegistryKey &RegistryKey::create(std::string_view path)
{
    RegistryKey *key = this;
    for (const std::string &part : splitRegPath(path)) {
        auto it = key->m_children.find(part);
        if (it == key->m_children.end())
            it = key->m_children.emplace(part, std::make_unique<RegistryKey>(part)).first;
        key = it->second.get();
    }
    return *key;
}

bool RegistryKey::remove(std::string_view path)
{
    std::vector<std::string> parts = splitRegPath(path);
    if (parts.empty())
        return false;
    const std::string last = parts.back();
    parts.pop_back();
    RegistryKey *parent = this;
    for (const std::string &part : parts) {
        const auto it = parent->m_children.find(part);
        if (it == parent->m_children.end())
            return false;
        parent = it->second.get();
    }
    return parent->m_children.erase(last) > 0;
}

std::vector<std::string> RegistryKey::subKeyNames() const
{
    std::vector<std::string> names;
    names.reserve(m_children.size());
    for (const auto &[name, child] : m_children)
        names.push_back(child->m_name);
    return names;
}

const RegValue *RegistryKey::value(std::string_view name) const
{
    const auto it = m_valueIndex.find(name);
    return it == m_valueIndex.end() ? nullptr : &m_values[it->second].second;
}

void RegistryKey::setValue(std::string_view name, RegValue value)
{
    if (const auto it = m_valueIndex.find(name); it != m_valueIndex.end()) {
        m_values[it->second].second = std::move(value);
        return;
    }
    m_valueIndex.emplace(std::string(name), m_values.size());
    m_values.emplace_back(std::string(name), std::move(value));
}

bool RegistryKey::removeValue(std::string_view name)
{
    const auto it = m_valueIndex.find(name);
    if (it == m_valueIndex.end())
        return false;
    const std::size_t at = it->second;
    m_valueIndex.erase(it);
    m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(at));
    for (auto &[other, position] : m_valueIndex) {
        if (position > at)
            --position;
    }
    return true;
}

void RegistryKey::clearValues()
{
    m_values.clear();
    m_valueIndex.clear();
}

bool RegistryKey::operator==(const RegistryKey &other) const
{
    if (m_name != other.m_name || m_values != other.m_values || m_children.size() != other.m_children.size())
        return false;
    auto a = m_children.begin();
    auto b = other.m_children.begin();
    for (; a != m_children.end(); ++a, ++b) {
        if (!(*a->second == *b->second))
            return false;
    }
    return true;
}

// ---- the store -------------------------------------------------------------

std::string RegistryStore::defaultFolder()
{
    if (const char *dir = std::getenv("QFC_REGISTRY_DIR"); dir && *dir)
        return dir;
    return joinPath(userFolder(UserFolder::Config), "qfc-registry");
}

std::string RegistryStore::systemFolder()
{
    if (const char *dir = std::getenv("QFC_SYSTEM_REGISTRY_DIR"); dir && *dir)
        return dir;
    const auto data = installedDataFolder(executableFolder());
    return data ? *data + "/qfc-registry" : std::string();
}

std::vector<RegistryStore> RegistryStore::classStores()
{
    std::vector<RegistryStore> stores {RegistryStore()};
    if (RegistryStore system(systemFolder()); !system.folder().empty() && system.folder() != stores.front().folder())
        stores.push_back(std::move(system));
    return stores;
}

RegistryStore::RegistryStore(std::string folder)
    : m_folder(std::move(folder))
{
    while (m_folder.size() > 1 && m_folder.back() == '/')
        m_folder.pop_back();
}

std::string RegistryStore::fileOf(RegistryRoot root) const
{
    return m_folder + "/" + std::string(registryRootName(root)) + ".reg";
}

std::string RegistryStore::serialize(const RegistryKey &root)
{
    std::string out(fileHeader);
    out += "\n\n";
    serializeKey(root, std::string(), true, out);
    return out;
}

std::optional<RegistryKey> RegistryStore::parse(std::string_view text, std::string *error)
{
    RegistryKey root;
    RegistryKey *current = nullptr;
    bool sawHeader = false;
    std::size_t lineNo = 0;
    auto fail = [&](const char *why) -> std::optional<RegistryKey> {
        if (error)
            *error = "line " + std::to_string(lineNo) + ": " + why;
        return std::nullopt;
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (!sawHeader) {
            if (line != fileHeader)
                return fail("not a registry file");
            sawHeader = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']')
                return fail("unterminated key name");
            const auto path = decodePath(line.substr(1, line.size() - 2));
            if (!path)
                return fail("bad key name");
            if (splitRegPath(*path).size() > maxKeyDepth)
                return fail(depthText().c_str());
            current = &root.create(*path);
            continue;
        }
        if (!current)
            return fail("value outside a key");
        std::string name;
        std::size_t at = 0;
        if (line.front() == '@') {
            at = 1;
        } else {
            auto quoted = unquote(line, at);
            if (!quoted)
                return fail("bad value name");
            name = std::move(*quoted);
        }
        if (at >= line.size() || line[at] != '=')
            return fail("missing \"=\"");
        const auto value = parseValue(line.substr(at + 1));
        if (!value)
            return fail("bad value");
        current->setValue(name, *value);
    }
    return root;
}

std::optional<RegistryKey> RegistryStore::load(RegistryRoot root, std::string *error) const
{
    struct stat st {
    };
    if (::stat(m_folder.c_str(), &st) != 0)
        return RegistryKey(); // no store yet: every root is empty
    StoreLock lock(m_folder, false);
    const auto text = readFile(fileOf(root), error);
    if (!text)
        return std::nullopt;
    std::string why;
    auto key = parse(*text, &why);
    if (!key && error)
        *error = fileOf(root) + ": " + why;
    return key;
}

bool RegistryStore::update(RegistryRoot root, const std::function<bool(RegistryKey &)> &edit, std::string *error)
{
    if (!makeFolders(m_folder, error))
        return false;
    StoreLock lock(m_folder, true);
    if (!lock.locked()) {
        if (error)
            *error = "cannot lock " + m_folder;
        return false;
    }
    const std::string path = fileOf(root);
    const auto text = readFile(path, error);
    if (!text)
        return false;
    std::string why;
    auto key = parse(*text, &why);
    if (!key) {
        if (error)
            *error = path + ": " + why;
        return false;
    }
    if (!edit(*key))
        return true;
    if (depthOf(*key) > maxKeyDepth) {
        if (error)
            *error = path + ": the change would make " + depthText();
        return false;
    }
    const std::string changed = serialize(*key);
    if (changed.size() > RegistryStore::maxFileBytes) {
        if (error)
            *error = path + ": the change would make it larger than 64 MiB, more than the store reads back";
        return false;
    }
    return writeStore(path, changed, error);
}

std::string RegistryStore::changeProblem(RegistryRoot root) const
{
    std::string error;
    if (!makeFolders(m_folder, &error))
        return error;
    StoreLock lock(m_folder, true);
    if (!lock.locked())
        return "cannot lock " + m_folder;
    const auto text = readFile(fileOf(root), &error);
    if (!text)
        return error;
    if (!parse(*text, &error))
        return fileOf(root) + ": " + error;
    // A change is written to a new file beside the old one.
    const std::string probe = m_folder + "/.probe" + std::to_string(::getpid());
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errnoText("cannot write in", m_folder);
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

std::optional<RegValue> RegistryStore::value(RegistryRoot root, std::string_view keyPath, std::string_view name) const
{
    const auto tree = load(root);
    if (!tree)
        return std::nullopt;
    const RegistryKey *key = tree->find(keyPath);
    if (!key)
        return std::nullopt;
    const RegValue *v = key->value(name);
    return v ? std::optional<RegValue>(*v) : std::nullopt;
}

bool RegistryStore::keyExists(RegistryRoot root, std::string_view keyPath) const
{
    const auto tree = load(root);
    return tree && tree->find(keyPath) != nullptr;
}

bool RegistryStore::setValue(RegistryRoot root, std::string_view keyPath, std::string_view name, const RegValue &value)
{
    return update(root, [&](RegistryKey &tree) {
        tree.create(keyPath).setValue(name, value);
        return true;
    });
}

bool RegistryStore::deleteKey(RegistryRoot root, std::string_view keyPath)
{
    bool removed = false;
    const bool ok = update(root, [&](RegistryKey &tree) {
        removed = tree.remove(keyPath);
        return removed;
    });
    return ok && removed;
}

bool RegistryStore::deleteValue(RegistryRoot root, std::string_view keyPath, std::string_view name)
{
    bool removed = false;
    const bool ok = update(root, [&](RegistryKey &tree) {
        RegistryKey *key = tree.find(keyPath);
        removed = key && key->removeValue(name);
        return removed;
    });
    return ok && removed;
}

} // namespace mrb::platform
