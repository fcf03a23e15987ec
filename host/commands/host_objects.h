#pragma once

#include <memory>
#include <string>

#include "host/command.h"
#include "host/pictures/document.h"
#include "platform/automation/dispatch.h"

namespace CLI {
class App;
}

// What the commands share about the host's pictures and forms.
namespace vt::host::commands {

// --picture NAME | --form FILE: the object whose language marker the library
// reads when no language is given.
struct MarkerObjectArgs {
  std::string picture;
  std::string form;
};
void AddMarkerObjectOptions(CLI::App& sub, MarkerObjectArgs& args);
// The picture's document (opened in the workspace) or the loaded form;
// nothing when neither option was given.
automation::ObjectRef OpenMarkerObject(CommandContext& context, const MarkerObjectArgs& args);

// Opens NAME (with or without ".grf") from the pictures folder. A name with
// a folder in it, or of a picture the folder does not have, is a
// CommandLineError.
std::shared_ptr<pictures::Document> OpenPicture(CommandContext& context, const std::string& name);

// Prints every open picture under a "Picture NAME" line, its tree indented.
void PrintOpenPictures(CommandContext& context);

// Closes every open picture: saved with `save`, else left as they are on disk.
void CloseOpenPictures(CommandContext& context, bool save);

}  // namespace vt::host::commands
