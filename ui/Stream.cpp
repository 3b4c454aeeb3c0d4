#include "ui/Stream.h"

#include <cctype>

#include "platform/Errors.h"
#include "platform/Messages.h"

namespace {
[[noreturn]] void Bad(const std::string& what) { throw EStreamError("Invalid stream format: " + what); }

std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

class Scanner {
public:
  explicit Scanner(const std::string& t) : t_(t) {}
  void Skip() {
    while (i_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[i_]))) ++i_;
  }
  bool AtEnd() {
    Skip();
    return i_ >= t_.size();
  }
  char Peek() {
    Skip();
    return i_ < t_.size() ? t_[i_] : '\0';
  }
  void Expect(char c) {
    if (Peek() != c) Bad(std::string("'") + c + "' expected");
    ++i_;
  }
  std::string Word() {
    Skip();
    size_t start = i_;
    while (i_ < t_.size() && (std::isalnum(static_cast<unsigned char>(t_[i_])) || t_[i_] == '_' ||
                              t_[i_] == '.' || t_[i_] == '-'))
      ++i_;
    if (start == i_) Bad("a name expected");
    return t_.substr(start, i_ - start);
  }
  std::string QuotedString() {
    Expect('\'');
    std::string out;
    for (;;) {
      if (i_ >= t_.size()) Bad("unterminated string");
      char c = t_[i_++];
      if (c == '\'') {
        if (i_ < t_.size() && t_[i_] == '\'') {
          out += '\'';
          ++i_;
        } else {
          return out;
        }
      } else {
        out += c;
      }
    }
  }

private:
  const std::string& t_;
  size_t i_ = 0;
};
}  // namespace

TReader::TReader(const std::string& text) {
  Scanner s(text);
  if (s.Word() != "object") Bad("'object' expected");
  objectName_ = s.Word();
  s.Expect(':');
  s.Word();  // the class, which the caller has already made
  for (;;) {
    if (s.AtEnd()) Bad("'end' expected");
    std::string name = s.Word();
    if (name == "end") break;
    s.Expect('=');
    Value v;
    if (s.Peek() == '(') {
      s.Expect('(');
      v.list = true;
      while (s.Peek() != ')') v.items.push_back(s.QuotedString());
      s.Expect(')');
    } else if (s.Peek() == '\'') {
      v.items.push_back(s.QuotedString());
    } else {
      v.items.push_back(s.Word());
    }
    values_[name] = v;
  }
}

void TReader::DefineProperty(const std::string& name, const std::function<void(TReader&)>& read,
                             const std::function<void(TWriter&)>&, bool) {
  auto it = values_.find(name);
  if (it == values_.end() || !read) return;
  current_ = &it->second;
  position_ = 0;
  read(*this);
  current_ = nullptr;
}

std::string TReader::ReadIdent() {
  if (!current_ || current_->list || current_->items.empty()) Bad("a value expected");
  return current_->items[0];
}

std::string TReader::ReadString() {
  if (!current_) Bad("a value expected");
  if (current_->list) {
    if (position_ >= current_->items.size()) Bad("a string expected");
    return current_->items[position_++];
  }
  return current_->items.empty() ? std::string() : current_->items[0];
}

int TReader::ReadInteger() { return std::atoi(ReadIdent().c_str()); }
bool TReader::ReadBool() { return ReadIdent() == "True"; }

void TReader::ReadListBegin() {
  if (!current_ || !current_->list) Bad("a list expected");
  position_ = 0;
}

bool TReader::EndOfList() const { return !current_ || position_ >= current_->items.size(); }
void TReader::ReadListEnd() {}

void TWriter::DefineProperty(const std::string& name, const std::function<void(TReader&)>&,
                             const std::function<void(TWriter&)>& write, bool hasData) {
  if (!hasData || !write) return;
  value_.clear();
  write(*this);
  body_ += "  " + name + " = " + value_ + "\n";
}

void TWriter::WriteIdent(const std::string& ident) { value_ += ident; }
void TWriter::WriteString(const std::string& s) { value_ += (inList_ && value_.size() > 1 ? " " : "") + Quote(s); }
void TWriter::WriteInteger(int v) { value_ += std::to_string(v); }
void TWriter::WriteBool(bool b) { value_ += b ? "True" : "False"; }
void TWriter::WriteListBegin() {
  value_ += "(";
  inList_ = true;
}
void TWriter::WriteListEnd() {
  value_ += ")";
  inList_ = false;
}

std::string TWriter::Text(const std::string& name, const std::string& className) const {
  return "object " + name + ": " + className + "\n" + body_ + "end\n";
}
