#pragma once
// A small JSON reader and writer for the end-to-end driver's line protocol.
// Portable C++: parse errors are reported as exceptions, never crashes.

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace minijson {

struct ParseError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Value {
 public:
  enum class Kind { Null, Bool, Int, Double, String, Array, Object };

  Value() = default;
  static Value Null() { return Value(); }
  static Value Bool(bool b) { Value v; v.kind_ = Kind::Bool; v.bool_ = b; return v; }
  static Value Int(int64_t i) { Value v; v.kind_ = Kind::Int; v.int_ = i; return v; }
  static Value Double(double d) { Value v; v.kind_ = Kind::Double; v.double_ = d; return v; }
  static Value String(std::string s) { Value v; v.kind_ = Kind::String; v.string_ = std::move(s); return v; }
  static Value Array() { Value v; v.kind_ = Kind::Array; return v; }
  static Value Object() { Value v; v.kind_ = Kind::Object; return v; }

  Kind kind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }
  bool IsBool() const { return kind_ == Kind::Bool; }
  bool IsNumber() const { return kind_ == Kind::Int || kind_ == Kind::Double; }
  bool IsInt() const { return kind_ == Kind::Int; }
  bool IsString() const { return kind_ == Kind::String; }
  bool IsArray() const { return kind_ == Kind::Array; }
  bool IsObject() const { return kind_ == Kind::Object; }

  bool AsBool() const { return bool_; }
  int64_t AsInt() const { return kind_ == Kind::Int ? int_ : static_cast<int64_t>(double_); }
  double AsDouble() const { return kind_ == Kind::Int ? static_cast<double>(int_) : double_; }
  const std::string& AsString() const { return string_; }
  const std::vector<Value>& Items() const { return items_; }
  const std::vector<std::pair<std::string, Value>>& Members() const { return members_; }

  // Builders return *this so replies read as one expression.
  Value& Set(std::string key, Value v) {
    for (auto& m : members_) {
      if (m.first == key) { m.second = std::move(v); return *this; }
    }
    members_.emplace_back(std::move(key), std::move(v));
    return *this;
  }
  Value& Push(Value v) { items_.push_back(std::move(v)); return *this; }

  const Value* Find(std::string_view key) const {
    for (const auto& m : members_) {
      if (m.first == key) return &m.second;
    }
    return nullptr;
  }

  std::string Dump() const {
    std::string out;
    DumpTo(out);
    return out;
  }

 private:
  void DumpTo(std::string& out) const {
    switch (kind_) {
      case Kind::Null: out += "null"; break;
      case Kind::Bool: out += bool_ ? "true" : "false"; break;
      case Kind::Int: out += std::to_string(int_); break;
      case Kind::Double: {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", double_);
        out += buf;
        break;
      }
      case Kind::String: DumpString(out, string_); break;
      case Kind::Array: {
        out += '[';
        for (size_t i = 0; i < items_.size(); ++i) {
          if (i) out += ',';
          items_[i].DumpTo(out);
        }
        out += ']';
        break;
      }
      case Kind::Object: {
        out += '{';
        for (size_t i = 0; i < members_.size(); ++i) {
          if (i) out += ',';
          DumpString(out, members_[i].first);
          out += ':';
          members_[i].second.DumpTo(out);
        }
        out += '}';
        break;
      }
    }
  }

  static void DumpString(std::string& out, const std::string& s) {
    out += '"';
    for (unsigned char c : s) {
      switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
          if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
          } else {
            out += static_cast<char>(c);  // UTF-8 passes through unchanged
          }
      }
    }
    out += '"';
  }

  Kind kind_ = Kind::Null;
  bool bool_ = false;
  int64_t int_ = 0;
  double double_ = 0;
  std::string string_;
  std::vector<Value> items_;
  std::vector<std::pair<std::string, Value>> members_;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {}

  Value ParseDocument() {
    Value v = ParseValue(0);
    SkipSpace();
    if (pos_ != s_.size()) Fail("trailing characters");
    return v;
  }

 private:
  static constexpr int kMaxDepth = 64;

  [[noreturn]] void Fail(const char* what) const {
    throw ParseError(std::string("bad JSON at offset ") + std::to_string(pos_) + ": " + what);
  }

  void SkipSpace() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r' || s_[pos_] == '\n')) ++pos_;
  }

  bool Consume(std::string_view word) {
    if (s_.substr(pos_, word.size()) == word) { pos_ += word.size(); return true; }
    return false;
  }

  Value ParseValue(int depth) {
    if (depth > kMaxDepth) Fail("nested too deeply");
    SkipSpace();
    if (pos_ >= s_.size()) Fail("unexpected end");
    char c = s_[pos_];
    if (c == '{') return ParseObject(depth);
    if (c == '[') return ParseArray(depth);
    if (c == '"') return Value::String(ParseString());
    if (Consume("true")) return Value::Bool(true);
    if (Consume("false")) return Value::Bool(false);
    if (Consume("null")) return Value::Null();
    if (c == '-' || (c >= '0' && c <= '9')) return ParseNumber();
    Fail("unexpected character");
  }

  Value ParseObject(int depth) {
    Value obj = Value::Object();
    ++pos_;
    SkipSpace();
    if (pos_ < s_.size() && s_[pos_] == '}') { ++pos_; return obj; }
    for (;;) {
      SkipSpace();
      if (pos_ >= s_.size() || s_[pos_] != '"') Fail("expected a key");
      std::string key = ParseString();
      SkipSpace();
      if (pos_ >= s_.size() || s_[pos_] != ':') Fail("expected ':'");
      ++pos_;
      obj.Set(std::move(key), ParseValue(depth + 1));
      SkipSpace();
      if (pos_ < s_.size() && s_[pos_] == ',') { ++pos_; continue; }
      if (pos_ < s_.size() && s_[pos_] == '}') { ++pos_; return obj; }
      Fail("expected ',' or '}'");
    }
  }

  Value ParseArray(int depth) {
    Value arr = Value::Array();
    ++pos_;
    SkipSpace();
    if (pos_ < s_.size() && s_[pos_] == ']') { ++pos_; return arr; }
    for (;;) {
      arr.Push(ParseValue(depth + 1));
      SkipSpace();
      if (pos_ < s_.size() && s_[pos_] == ',') { ++pos_; continue; }
      if (pos_ < s_.size() && s_[pos_] == ']') { ++pos_; return arr; }
      Fail("expected ',' or ']'");
    }
  }

  Value ParseNumber() {
    size_t start = pos_;
    bool integral = true;
    if (s_[pos_] == '-') ++pos_;
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c >= '0' && c <= '9') { ++pos_; continue; }
      if (c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-') { integral = false; ++pos_; continue; }
      break;
    }
    std::string text(s_.substr(start, pos_ - start));
    if (text == "-") Fail("bad number");
    size_t used = 0;
    try {
      if (integral) {
        if (text[0] == '-') return Value::Int(std::stoll(text, &used));
        // Values above INT64_MAX (e.g. an unsigned handle) wrap to their two's complement.
        return Value::Int(static_cast<int64_t>(std::stoull(text, &used)));
      }
      return Value::Double(std::stod(text, &used));
    } catch (const std::exception&) {
      Fail("bad number");
    }
  }

  unsigned ParseHex4() {
    if (pos_ + 4 > s_.size()) Fail("short \\u escape");
    unsigned v = 0;
    for (int i = 0; i < 4; ++i) {
      char c = s_[pos_++];
      v <<= 4;
      if (c >= '0' && c <= '9') v |= unsigned(c - '0');
      else if (c >= 'a' && c <= 'f') v |= unsigned(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') v |= unsigned(c - 'A' + 10);
      else Fail("bad \\u escape");
    }
    return v;
  }

  static void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  std::string ParseString() {
    ++pos_;  // opening quote
    std::string out;
    for (;;) {
      if (pos_ >= s_.size()) Fail("unterminated string");
      char c = s_[pos_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in string");
      if (c != '\\') { out += c; continue; }
      if (pos_ >= s_.size()) Fail("unterminated escape");
      char e = s_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          unsigned cp = ParseHex4();
          if (cp >= 0xD800 && cp < 0xDC00) {
            if (!Consume("\\u")) Fail("lone high surrogate");
            unsigned low = ParseHex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("bad low surrogate");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp < 0xE000) {
            Fail("lone low surrogate");
          }
          AppendUtf8(out, cp);
          break;
        }
        default: Fail("unknown escape");
      }
    }
  }

  std::string_view s_;
  size_t pos_ = 0;
};

inline Value Parse(std::string_view text) { return Parser(text).ParseDocument(); }

}  // namespace minijson
