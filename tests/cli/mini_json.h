#pragma once

// A strict recursive-descent JSON reader, enough to check the companion's documents: it refuses
// anything RFC 8259 refuses (bare NaN, trailing commas, raw control characters, junk after the value).

#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrix::test {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;  // in document order

    bool IsNull() const { return kind == Kind::Null; }
    const JsonValue* Find(std::string_view key) const {
        for (const auto& [name, value] : members) {
            if (name == key) return &value;
        }
        return nullptr;
    }
    const JsonValue& operator[](std::string_view key) const {
        static const JsonValue missing;
        const JsonValue* found = Find(key);
        return found ? *found : missing;
    }
    std::vector<std::string> Keys() const {
        std::vector<std::string> keys;
        for (const auto& member : members) keys.push_back(member.first);
        return keys;
    }
};

class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    // The value, or nothing with error() telling where the document went wrong.
    std::optional<JsonValue> Parse() {
        JsonValue value;
        SkipSpace();
        if (!ReadValue(value, 0)) return std::nullopt;
        SkipSpace();
        if (pos_ != text_.size()) return Fail("junk after the value");
        return value;
    }
    const std::string& error() const { return error_; }

  private:
    std::nullopt_t Fail(const std::string& what) {
        if (error_.empty()) error_ = what + " at offset " + std::to_string(pos_);
        return std::nullopt;
    }
    bool Error(const std::string& what) {
        Fail(what);
        return false;
    }
    void SkipSpace() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r')) {
            ++pos_;
        }
    }
    bool Literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }
    bool ReadValue(JsonValue& value, int depth) {
        if (depth > 64) return Error("nesting too deep");
        if (pos_ >= text_.size()) return Error("unexpected end");
        const char c = text_[pos_];
        if (c == '{') return ReadObject(value, depth);
        if (c == '[') return ReadArray(value, depth);
        if (c == '"') {
            value.kind = JsonValue::Kind::String;
            return ReadString(value.text);
        }
        if (Literal("null")) return true;
        if (Literal("true")) {
            value.kind = JsonValue::Kind::Bool;
            value.boolean = true;
            return true;
        }
        if (Literal("false")) {
            value.kind = JsonValue::Kind::Bool;
            return true;
        }
        return ReadNumber(value);
    }
    bool ReadNumber(JsonValue& value) {
        const size_t start = pos_;
        auto digits = [&] {
            const size_t from = pos_;
            while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
            return pos_ - from;
        };
        if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '0') {
            ++pos_;
        } else if (digits() == 0) {
            return Error("bad value");
        }
        if (pos_ < text_.size() && text_[pos_] == '.') {
            ++pos_;
            if (digits() == 0) return Error("bad fraction");
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
            if (digits() == 0) return Error("bad exponent");
        }
        value.kind = JsonValue::Kind::Number;
        value.number = std::strtod(std::string(text_.substr(start, pos_ - start)).c_str(), nullptr);
        return true;
    }
    bool ReadString(std::string& out) {
        ++pos_;  // opening quote
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return Error("raw control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) break;
            const char e = text_[pos_++];
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
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
                case 'u': {
                    if (pos_ + 4 > text_.size()) return Error("short \\u escape");
                    unsigned code = 0;
                    for (int i = 0; i < 4; ++i) {
                        const char h = text_[pos_++];
                        if (!std::isxdigit(static_cast<unsigned char>(h))) return Error("bad \\u escape");
                        code = code * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(h))
                                                                     ? h - '0'
                                                                     : (std::tolower(h) - 'a' + 10));
                    }
                    if (code >= 0x80) return Error("non-ASCII \\u escape not expected here");
                    out += static_cast<char>(code);
                    break;
                }
                default:
                    return Error("bad escape");
            }
        }
        return Error("unterminated string");
    }
    bool ReadArray(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::Array;
        ++pos_;
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == ']') {
            ++pos_;
            return true;
        }
        while (true) {
            JsonValue item;
            SkipSpace();
            if (!ReadValue(item, depth + 1)) return false;
            value.items.push_back(std::move(item));
            SkipSpace();
            if (pos_ >= text_.size()) return Error("unterminated array");
            if (text_[pos_] == ']') {
                ++pos_;
                return true;
            }
            if (text_[pos_++] != ',') return Error("expected , or ]");
        }
    }
    bool ReadObject(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::Object;
        ++pos_;
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == '}') {
            ++pos_;
            return true;
        }
        while (true) {
            SkipSpace();
            if (pos_ >= text_.size() || text_[pos_] != '"') return Error("expected a key");
            std::string key;
            if (!ReadString(key)) return false;
            if (value.Find(key)) return Error("duplicate key " + key);
            SkipSpace();
            if (pos_ >= text_.size() || text_[pos_++] != ':') return Error("expected :");
            SkipSpace();
            JsonValue member;
            if (!ReadValue(member, depth + 1)) return false;
            value.members.emplace_back(std::move(key), std::move(member));
            SkipSpace();
            if (pos_ >= text_.size()) return Error("unterminated object");
            if (text_[pos_] == '}') {
                ++pos_;
                return true;
            }
            if (text_[pos_++] != ',') return Error("expected , or }");
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
    std::string error_;
};

}  // namespace veltrix::test
