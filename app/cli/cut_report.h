// The report of one cut as a JSON document: what went in, what came out, what the
// cut did.
#pragma once

#include <string>

#include "app/session/cut_outcome.h"

// Indented, UTF-8.
std::string CutReportJson(const CutOutcome& outcome);
