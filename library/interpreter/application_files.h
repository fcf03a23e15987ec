#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_SESSION
#error "library/interpreter/application_files.h is above the component that includes it"
#endif

#include <string>
#include <string_view>

namespace vt::interpreter {

// The files of the application folder "\Veltrano\" below the pictures folder:
// the one place that knows their names.
class ApplicationFiles {
 public:
  explicit ApplicationFiles(std::string_view fix_path);

  // The folder itself, ending in the separator.
  const std::string& Folder() const { return folder_; }
  std::string Configuration() const;    // Veltrano.ini
  std::string Dictionary() const;       // Veltrano.xls
  std::string AlarmDictionary() const;  // Veltrano_Alm.xls
  std::string Log() const;              // Veltrano.log
  std::string ReportHtml() const;       // Veltrano_Report.html
  std::string ReportCsv() const;        // Veltrano_Report.csv

 private:
  std::string folder_;
};

}  // namespace vt::interpreter
