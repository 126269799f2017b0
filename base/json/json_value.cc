#include "base/json/json_value.h"

#include <utility>

namespace lite {

Value::Value() = default;
Value::Value(bool value) : data_(value) {}
Value::Value(int value) : data_(value) {}
Value::Value(double value) : data_(value) {}
Value::Value(std::string value) : data_(std::move(value)) {}
Value::Value(const char* value) : data_(std::string(value)) {}
Value::Value(List value) : data_(std::move(value)) {}
Value::Value(Dict value) : data_(std::move(value)) {}

// Defined here, where Value is complete, because the containers in the
// variant hold Values.
Value::Value(const Value& other) = default;
Value::Value(Value&& other) noexcept = default;
Value& Value::operator=(const Value& other) = default;
Value& Value::operator=(Value&& other) noexcept = default;
Value::~Value() = default;

Value::Type Value::type() const {
  // The variant's alternatives are listed in the order of Type.
  return static_cast<Type>(data_.index());
}

std::optional<double> Value::GetIfNumber() const {
  if (const int* i = GetIfInt()) return *i;
  if (const double* d = GetIfDouble()) return *d;
  return std::nullopt;
}

const Value* Value::FindPath(std::string_view dotted_path) const {
  const Value* current = this;
  while (true) {
    const Dict* dict = current->GetIfDict();
    if (!dict) return nullptr;
    const size_t dot = dotted_path.find('.');
    auto it = dict->find(std::string(dotted_path.substr(0, dot)));
    if (it == dict->end()) return nullptr;
    current = &it->second;
    if (dot == std::string_view::npos) return current;
    dotted_path.remove_prefix(dot + 1);
  }
}

Value* Value::FindPath(std::string_view dotted_path) {
  return const_cast<Value*>(std::as_const(*this).FindPath(dotted_path));
}

bool Value::operator==(const Value& other) const { return data_ == other.data_; }

}  // namespace lite
