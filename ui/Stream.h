#pragma once
// A component's stored definition: named properties in a small text format of our own.
//
//   object DdeClientConv1: TDdeClientConv
//     ConnectMode = ddeManual
//     LinkInfo = ('Service PROGMAN' 'Topic PROGMAN')
//   end
//
// Values are identifiers (enumerations, True/False), numbers, quoted strings ('' for a quote
// inside) or lists of quoted strings in parentheses.
#include <functional>
#include <map>
#include <string>
#include <vector>

class TComponent;
class TReader;
class TWriter;

class TFiler {
public:
  virtual ~TFiler() = default;
  // Each property a component stores: how to read it, how to write it, whether it is written.
  virtual void DefineProperty(const std::string& name, const std::function<void(TReader&)>& read,
                              const std::function<void(TWriter&)>& write, bool hasData) = 0;
};

class TReader : public TFiler {
public:
  explicit TReader(const std::string& text);
  void DefineProperty(const std::string& name, const std::function<void(TReader&)>& read,
                      const std::function<void(TWriter&)>& write, bool hasData) override;
  const std::string& ObjectName() const { return objectName_; }

  // The value of the property being read.
  std::string ReadIdent();
  std::string ReadString();
  int ReadInteger();
  bool ReadBool();
  void ReadListBegin();
  bool EndOfList() const;
  void ReadListEnd();

private:
  struct Value {
    bool list = false;
    std::vector<std::string> items;
  };
  std::string objectName_;
  std::map<std::string, Value> values_;
  const Value* current_ = nullptr;
  size_t position_ = 0;
};

class TWriter : public TFiler {
public:
  void DefineProperty(const std::string& name, const std::function<void(TReader&)>& read,
                      const std::function<void(TWriter&)>& write, bool hasData) override;
  void WriteIdent(const std::string& ident);
  void WriteString(const std::string& s);
  void WriteInteger(int v);
  void WriteBool(bool b);
  void WriteListBegin();
  void WriteListEnd();
  std::string Text(const std::string& name, const std::string& className) const;

private:
  std::string body_;
  std::string value_;
  bool inList_ = false;
};

// Reads a definition into a component: its loading state is set, the properties read, then
// the component's step after loading runs. Throws EStreamError for text it cannot read.
// The properties are those of the kind the caller names (its DefineProperties), known where the
// definition is read or written: a program that reads and writes none carries none of them, and
// not the reading and writing either.
template <class T>
void LoadComponent(T& component, const std::string& definition) {
  TReader reader(definition);
  if (component.Name().empty()) component.SetName(reader.ObjectName());
  component.SetLoading(true);
  try {
    component.DefineProperties(reader);
  } catch (...) {
    component.SetLoading(false);
    throw;
  }
  component.Loaded();
}

template <class T>
std::string SaveComponent(T& component, const std::string& className) {
  TWriter writer;
  component.DefineProperties(writer);
  return writer.Text(component.Name(), className);
}
