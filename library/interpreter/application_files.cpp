#include "library/interpreter/application_files.h"

#include "platform/system/paths.h"

namespace vt::interpreter {

ApplicationFiles::ApplicationFiles(std::string_view fix_path)
    : folder_(std::string(fix_path) + system::SystemPath("\\Veltrano\\")) {}

std::string ApplicationFiles::Configuration() const { return folder_ + "Veltrano.ini"; }
std::string ApplicationFiles::Dictionary() const { return folder_ + "Veltrano.xls"; }
std::string ApplicationFiles::AlarmDictionary() const { return folder_ + "Veltrano_Alm.xls"; }
std::string ApplicationFiles::Log() const { return folder_ + "Veltrano.log"; }
std::string ApplicationFiles::ReportHtml() const { return folder_ + "Veltrano_Report.html"; }
std::string ApplicationFiles::ReportCsv() const { return folder_ + "Veltrano_Report.csv"; }

}  // namespace vt::interpreter
