#include "engine/CopyPlan.h"

#include "engine/ScriptStore.h"

CopyPlan PlanCopies(const std::vector<std::string>& script, const std::string& windowsDir,
                    const std::string& source, const std::string& destination) {
  CopyPlan plan;
  std::string targetPrefix;
  const std::string sourcePrefix = source + "\\";
  bool sectionOpen = false;
  bool iniSection = false;
  // The pass starts at line 4, so a record name beginning with ':' opens a section of its own.
  for (size_t i = 4; i < script.size(); ++i) {
    const std::string& line = script[i];
    if (line.empty()) {
      sectionOpen = false;
      continue;
    }
    if (sectionOpen) {
      // A lone "_" names no file: copying it would aim at the target directory itself.
      const std::string restored = RestoredName(line);
      if (!restored.empty())
        plan.entries.push_back(
            {static_cast<int>(i), line, sourcePrefix + line, targetPrefix + restored, iniSection});
    }
    if (line[0] == ':') {
      std::string t = line.substr(1);
      iniSection = t == "ini";
      // Each test sees the result of the one before.
      if (t == "win") t = windowsDir + "\\";
      if (t == "win\\system") t = windowsDir + "\\system\\";
      if (t == "install") t = destination + "\\";
      targetPrefix = t;
      sectionOpen = true;
    }
  }
  plan.lastTarget = targetPrefix;
  return plan;
}
