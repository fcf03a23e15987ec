#include "host/commands/host_objects.h"

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>
#include <string_view>

#include "host/forms/user_form.h"
#include "host/options.h"
#include "host/pictures/picture_tree.h"
#include "host/tree_text.h"
#include "host/workspace.h"
#include "platform/automation/error.h"
#include "platform/ui/existing_path.h"

namespace vt::host::commands {

void AddMarkerObjectOptions(CLI::App& sub, MarkerObjectArgs& args) {
  CLI::Option* picture =
      sub.add_option("--picture", args.picture, "the picture whose Comments gives the language")
          ->option_text("NAME");
  CLI::Option* form =
      sub.add_option("--form", args.form, "the form file whose Tag gives the language")
          ->option_text("FILE")
          ->check(ui::ExistingFile());
  picture->excludes(form);
}

automation::ObjectRef OpenMarkerObject(CommandContext& context, const MarkerObjectArgs& args) {
  if (!args.picture.empty()) return OpenPicture(context, args.picture);
  if (!args.form.empty()) return forms::UserForm::Load(args.form);
  return nullptr;
}

std::shared_ptr<pictures::Document> OpenPicture(CommandContext& context, const std::string& name) {
  const std::string folder = FixPathText(context.workspace.pictures());
  if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos) {
    throw CommandLineError("the picture name \"" + name +
                           "\" holds a folder: pictures lie directly in the pictures folder \"" +
                           folder + "\"");
  }
  pictures::Documents& documents = context.workspace.documents();
  std::optional<std::string> file;
  try {
    file = documents.Resolve(context.workspace.PicturePath(name));
  } catch (const automation::Error& e) {
    // Several files that differ only in letter case: the name is not one.
    if (e.number() != automation::errors::kBadFileName) throw;
    throw CommandLineError(e.what());
  }
  if (!file) {
    throw CommandLineError("there is no picture \"" + name + "\" in the pictures folder \"" +
                           folder + "\"");
  }
  return documents.Open(*file);
}

void PrintOpenPictures(CommandContext& context) {
  for (const auto& document : context.workspace.documents().open()) {
    context.out << "Picture " << TreeName(document->name()) << '\n';
    pictures::PrintPictureTree(document->page(), context.out, 2);
  }
}

void CloseOpenPictures(CommandContext& context, bool save) {
  context.workspace.documents().CloseAll(save ? pictures::CloseCode::Save
                                              : pictures::CloseCode::Discard);
}

}  // namespace vt::host::commands
