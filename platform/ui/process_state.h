#pragma once

// Internal to vtui: the process-wide choice made by Configure.

#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/backend.h"
#include "platform/ui/configure.h"

namespace vt::ui::detail {

// The back end for one call, kept alive for its duration even if Configure
// runs meanwhile (a Qt box pumps events, and anything can happen in them).
std::shared_ptr<Backend> AcquireBackend();

// Installs `backend` with the rest of `options` (transcript, program name,
// batch inputs, failure notes).
void InstallConfigured(std::shared_ptr<Backend> backend, Options options);

// The batch back end `options` ask for: their answers, or the shared ones.
std::shared_ptr<Backend> MakeBatchBackend(Options& options);

Backend* SwapOverride(Backend* backend);

std::string TranscriptPath();
bool NoteFailures();
// The name the notices start with; empty: the process's own.
std::string ProgramName();

// "<program>: <message>" and a line feed on stderr, in one write.
void Notice(std::string_view message) noexcept;

}  // namespace vt::ui::detail
