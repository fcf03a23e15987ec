#include "platform/data/working_recordset.h"

#include <cstdint>
#include <map>
#include <utility>

#include "platform/automation/error.h"
#include "platform/data/recordset.h"

namespace vt::data {
namespace {

using automation::ObjectRef;
using automation::Variant;

class OwnRecordset final : public WorkingRecordset {
 public:
  explicit OwnRecordset(std::shared_ptr<Recordset> recordset) : recordset_(std::move(recordset)) {}

  ObjectRef Object() const override { return recordset_; }
  bool Eof() override { return recordset_->Eof(); }
  Variant Value(std::size_t ordinal) override { return recordset_->GetValue(ordinal); }
  void SetValue(std::size_t ordinal, const Variant& value) override {
    recordset_->SetValue(ordinal, value);
  }
  void Update() override { recordset_->Update(); }
  void MoveNext() override { recordset_->MoveNext(); }
  ObjectRef Clone() override { return recordset_->Clone(); }

 private:
  std::shared_ptr<Recordset> recordset_;
};

class ForeignRecordset final : public WorkingRecordset {
 public:
  explicit ForeignRecordset(ObjectRef recordset) : recordset_(std::move(recordset)) {}

  ObjectRef Object() const override { return recordset_; }
  bool Eof() override { return automation::Get(recordset_, "EOF").ToBoolean(); }
  Variant Value(std::size_t ordinal) override { return automation::Get(Field(ordinal), "Value"); }
  void SetValue(std::size_t ordinal, const Variant& value) override {
    automation::Put(Field(ordinal), "Value", value);
  }
  void Update() override { automation::Call(recordset_, "Update", {}); }
  void MoveNext() override { automation::Call(recordset_, "MoveNext", {}); }
  ObjectRef Clone() override { return automation::Call(recordset_, "Clone", {}).ToObject(); }

 private:
  // Fields(i): like the component's, a field reads and writes whatever row is
  // current, so each is asked for once.
  const ObjectRef& Field(std::size_t ordinal) {
    auto known = fields_.find(ordinal);
    if (known == fields_.end()) {
      const ObjectRef fields = automation::Get(recordset_, "Fields").ToObject();
      const auto index = static_cast<std::int32_t>(ordinal);
      known = fields_.emplace(ordinal, automation::Get(fields, "Item", {Variant(index)}).ToObject())
                  .first;
    }
    return known->second;
  }

  ObjectRef recordset_;
  std::map<std::size_t, ObjectRef> fields_;
};

}  // namespace

std::unique_ptr<WorkingRecordset> WorkingRecordset::CloneOf(const ObjectRef& recordset) {
  if (!recordset) throw automation::errors::ObjectNotSet();
  if (auto ours = std::dynamic_pointer_cast<Recordset>(recordset)) {
    return std::make_unique<OwnRecordset>(ours->Clone());
  }
  if (automation::TypeNameOf(recordset) != "Recordset") throw automation::errors::TypeMismatch();
  return std::make_unique<ForeignRecordset>(automation::Call(recordset, "Clone", {}).ToObject());
}

}  // namespace vt::data
