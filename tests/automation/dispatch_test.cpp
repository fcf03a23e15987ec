#include "platform/automation/dispatch.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/automation/error.h"

namespace vt::automation {
namespace {

// A picture-like object: a read/write Caption, a read-only Name, a method that
// assigns to its by-reference arguments, an indexed property.
class Sample : public DispatchObject {
 public:
  Sample() {
    AddProperty(
        "Caption", [this](std::span<Variant>) { return Variant(caption_); },
        [this](std::span<Variant>, const Variant& v) { caption_ = v.ToString(); });
    AddProperty("Name", [](std::span<Variant>) { return Variant("txtTitle"); });
    AddMethod("Swap", [](std::span<Variant> args) {
      if (args.size() != 2) throw errors::InvalidCall("Swap takes two arguments");
      std::swap(args[0], args[1]);
      return Variant();
    });
    AddMethod("Twice", [](std::span<Variant> args) {
      args[0] = Variant(static_cast<std::int16_t>(args[0].ToInteger() * 2));
      return args[0];
    });
    AddProperty("FixPath", [](std::span<Variant> args) {
      if (args.size() != 1) throw errors::InvalidCall();
      return Variant("path" + args[0].ToString());
    });
    AddMethod("Fail", [](std::span<Variant>) -> Variant { throw std::runtime_error("boom"); });
    AddProperty(kLongName, [](std::span<Variant>) { return Variant("long"); });
  }
  // Longer than any name the lookup lowers on the stack.
  static constexpr const char* kLongName =
      "ThePropertyWithAVeryLongNameThatNoControlOfARealPictureWouldEverHave";
  std::string TypeName() const override { return "Fix2DText"; }

 private:
  std::string caption_ = "Start";
};

TEST(DispatchTest, PropertiesByNameIgnoringCase) {
  ObjectRef obj = std::make_shared<Sample>();
  EXPECT_EQ(Get(obj, "Caption").ToString(), "Start");
  Put(obj, "CAPTION", Variant("Stop"));
  EXPECT_EQ(Get(obj, "caption").ToString(), "Stop");
  const Variant kept("Kept");
  Put(obj, "caption", kept);
  EXPECT_EQ(Get(obj, "CAPTION").ToString(), "Kept");
  EXPECT_EQ(kept.ToString(), "Kept");
  EXPECT_EQ(Get(obj, "FixPath", {Variant(std::int16_t{1})}).ToString(), "path1");
  EXPECT_EQ(
      Get(obj, "thepropertywithaverylongnamethatnocontrolofarealpicturewouldeverhave").ToString(),
      "long");
  EXPECT_EQ(TypeNameOf(obj), "Fix2DText");
}

TEST(DispatchTest, ArgumentsPassByReference) {
  ObjectRef obj = std::make_shared<Sample>();
  std::vector<Variant> args{Variant("a"), Variant(std::int16_t{7})};
  Call(obj, "Swap", args);
  EXPECT_EQ(args[0], Variant(std::int16_t{7}));
  EXPECT_EQ(args[1], Variant("a"));

  std::vector<Variant> one{Variant("21")};
  EXPECT_EQ(Call(obj, "twice", one), Variant(std::int16_t{42}));
  EXPECT_EQ(one[0], Variant(std::int16_t{42}));

  // An initializer list is a temporary copy: the caller's values stay.
  Variant kept("3");
  Call(obj, "Twice", {kept});
  EXPECT_EQ(kept, Variant("3"));
}

TEST(DispatchTest, UnknownMemberNamesMemberAndType) {
  ObjectRef obj = std::make_shared<Sample>();
  try {
    Get(obj, "Comments");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kNoSuchMember);
    EXPECT_EQ(e.description(),
              "Object doesn't support this property or method: Fix2DText.Comments");
  }
}

TEST(DispatchTest, WrongKindOfAccess) {
  ObjectRef obj = std::make_shared<Sample>();
  try {
    Put(obj, "Name", Variant("x"));
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kReadOnlyProperty);
    EXPECT_NE(e.description().find("Fix2DText.Name"), std::string::npos);
  }
  try {
    Put(obj, "Swap", Variant("x"));
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kNoSuchMember);
  }
  // A function called without parentheses is read like a property.
  std::vector<Variant> none;
  EXPECT_NO_THROW(Get(obj, "Name"));
  EXPECT_EQ(Call(obj, "Name", none).ToString(), "txtTitle");
}

TEST(DispatchTest, NothingAndForeignExceptions) {
  try {
    Get(ObjectRef{}, "Caption");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kObjectNotSet);
    EXPECT_EQ(e.description(), "Object variable or With block variable not set");
  }
  EXPECT_EQ(TypeNameOf(ObjectRef{}), "Nothing");
  ObjectRef obj = std::make_shared<Sample>();
  try {
    Call(obj, "Fail", {});
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kInternal);
    EXPECT_NE(e.description().find("boom"), std::string::npos);
  }
  try {
    Enumerate(obj);
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kNoSuchMember);
  }
}

TEST(DispatchTest, TypeNameOfValues) {
  EXPECT_EQ(TypeNameOf(Variant()), "Empty");
  EXPECT_EQ(TypeNameOf(Variant::Null()), "Null");
  EXPECT_EQ(TypeNameOf(Variant(std::int16_t{1})), "Integer");
  EXPECT_EQ(TypeNameOf(Variant(1)), "Long");
  EXPECT_EQ(TypeNameOf(Variant("")), "String");
  EXPECT_EQ(TypeNameOf(Variant(std::make_shared<Sample>())), "Fix2DText");
}

TEST(GuidTest, ParseAndFormat) {
  const char* form = "{04598FC8-866C-11CF-AB7C-00AA00C08FCF}";
  auto g = Guid::Parse("{04598fc8-866c-11cf-ab7c-00aa00c08fcf}");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->ToString(), form);
  EXPECT_EQ(Guid::Parse("04598FC8-866C-11CF-AB7C-00AA00C08FCF"), g);
  for (const char* bad :
       {"", "{04598FC8-866C-11CF-AB7C-00AA00C08FC}", "{04598FC8-866C-11CF-AB7C-00AA00C08FCG}",
        "{04598FC8+866C-11CF-AB7C-00AA00C08FCF}", "(04598FC8-866C-11CF-AB7C-00AA00C08FCF)"}) {
    EXPECT_FALSE(Guid::Parse(bad)) << bad;
  }
  EXPECT_THROW(Guid::FromString("nope"), Error);
}

TEST(GuidTest, EveryObjectAnswersIDispatchOnly) {
  Sample s;
  EXPECT_TRUE(s.QueryInterface(Guid::FromString("{00020400-0000-0000-C000-000000000046}")));
  EXPECT_FALSE(s.QueryInterface(Guid::FromString("{04598FC8-866C-11CF-AB7C-00AA00C08FCF}")));
}

}  // namespace
}  // namespace vt::automation
