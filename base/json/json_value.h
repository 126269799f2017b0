// A JSON value: null, boolean, integer, double, string, list or dictionary.
#ifndef BASE_JSON_JSON_VALUE_H_
#define BASE_JSON_JSON_VALUE_H_

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lite {

class Value {
 public:
  // std::string orders keys bytewise, which is the order the writer emits.
  using List = std::vector<Value>;
  using Dict = std::map<std::string, Value>;

  enum class Type { kNone, kBoolean, kInteger, kDouble, kString, kList, kDict };

  Value();  // null
  explicit Value(bool value);
  explicit Value(int value);
  explicit Value(double value);
  explicit Value(std::string value);
  // Without this a string literal would pick the bool constructor.
  explicit Value(const char* value);
  explicit Value(List value);
  explicit Value(Dict value);

  Value(const Value& other);
  Value(Value&& other) noexcept;
  Value& operator=(const Value& other);
  Value& operator=(Value&& other) noexcept;
  ~Value();

  Type type() const;
  bool is_none() const { return type() == Type::kNone; }
  bool is_bool() const { return type() == Type::kBoolean; }
  bool is_int() const { return type() == Type::kInteger; }
  bool is_double() const { return type() == Type::kDouble; }
  bool is_string() const { return type() == Type::kString; }
  bool is_list() const { return type() == Type::kList; }
  bool is_dict() const { return type() == Type::kDict; }

  // Null when the value has another type.
  const bool* GetIfBool() const { return std::get_if<bool>(&data_); }
  const int* GetIfInt() const { return std::get_if<int>(&data_); }
  const double* GetIfDouble() const { return std::get_if<double>(&data_); }
  const std::string* GetIfString() const { return std::get_if<std::string>(&data_); }
  const List* GetIfList() const { return std::get_if<List>(&data_); }
  const Dict* GetIfDict() const { return std::get_if<Dict>(&data_); }
  bool* GetIfBool() { return std::get_if<bool>(&data_); }
  int* GetIfInt() { return std::get_if<int>(&data_); }
  double* GetIfDouble() { return std::get_if<double>(&data_); }
  std::string* GetIfString() { return std::get_if<std::string>(&data_); }
  List* GetIfList() { return std::get_if<List>(&data_); }
  Dict* GetIfDict() { return std::get_if<Dict>(&data_); }

  // An integer or a double as a double: a file may write 2 where 2.5 could
  // also appear.
  std::optional<double> GetIfNumber() const;

  // Walks nested dictionaries along "a.b.c"; null when a step is missing or
  // not a dictionary. Every '.' separates keys, so keys containing a dot
  // cannot be reached this way.
  const Value* FindPath(std::string_view dotted_path) const;
  Value* FindPath(std::string_view dotted_path);

  // Integer 1 and double 1.0 differ: the type is part of the value.
  bool operator==(const Value& other) const;
  bool operator!=(const Value& other) const { return !(*this == other); }

 private:
  std::variant<std::monostate, bool, int, double, std::string, List, Dict> data_;
};

}  // namespace lite

#endif  // BASE_JSON_JSON_VALUE_H_
