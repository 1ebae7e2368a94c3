// The prompter lives in its header; this file gives the support library its one source.
#include "support/ScriptedPrompter.h"
