#include "tests/support/message_log.h"

#include "tests/support/temp_dir.h"

namespace vt::testing {

ui::Answer RecordingBackend::ShowMessage(const ui::MessageRequest& request) {
  shown.push_back({std::string(request.text), std::string(request.title), request.style});
  if (next < answers.size()) return answers[next++];
  return otherwise_;
}

void PrintTo(const Message& message, std::ostream* os) {
  *os << "{" << nlohmann::json(message.title).dump() << ", " << message.style << ", "
      << nlohmann::json(message.text).dump() << "}";
}

std::vector<Message> RecordingBackend::Take() {
  std::vector<Message> taken = std::move(shown);
  shown.clear();
  return taken;
}

std::vector<nlohmann::json> ReadTranscript(const std::filesystem::path& file) {
  std::vector<nlohmann::json> boxes;
  for (const std::string& line : ReadLines(file)) boxes.push_back(nlohmann::json::parse(line));
  return boxes;
}

std::vector<Message> TranscriptReader::Take() {
  const std::vector<nlohmann::json> boxes = ReadTranscript(file_);
  std::vector<Message> taken;
  for (std::size_t i = lines_taken_; i < boxes.size(); ++i) {
    if (!boxes[i].contains("text")) continue;
    taken.push_back({boxes[i].at("text").get<std::string>(),
                     boxes[i].at("title").get<std::string>(), boxes[i].at("style").get<int>()});
  }
  lines_taken_ = boxes.size();
  return taken;
}

}  // namespace vt::testing
