// Everything the framework offers a plugin.
#pragma once

#include "asa/api_utils.h"
#include "asa/commands.h"
#include "asa/engine_types.h"
#include "asa/hooks.h"
#include "asa/logging.h"
#include "asa/offsets.h"
