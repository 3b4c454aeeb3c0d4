#pragma once
// The product's entry in the system's list of installed programs, deleted by the uninstaller.
#include <string>

// Deletes the record name's entry from both hives, each only where its UninstallString starts
// this remove.exe: another product's entry of the same name stays. True when one went.
bool UnregisterProduct(const std::string& recordName, const std::string& removeExe);

// The record name a location record's path gives: its file name without ".ini"; empty when the
// path names no such file.
std::string RecordNameOf(const std::string& locationRecord);
