#pragma once
// The main window's two browse buttons: each hides the main window, shows the Select Path dialog
// modally, shows the main window again and, after Select, writes the chosen directory back.
#include "engine/ScriptStore.h"
#include "ui/StdCtrls.h"

// The source: after Select, s holds the dialog's directory as it is (C:\ keeps its backslash).
void BrowseSource(TEdit& s, TLabel& mainVar1);
// The destination: a non-empty d first moves the dialog's list to c:\; after Select, d holds the
// directory without a trailing backslash followed by script line 0.
void BrowseDestination(TEdit& d, TLabel& mainVar1, TScriptStore& ini);
