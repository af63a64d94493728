#pragma once

#include <string>
#include <vector>

std::string GetText(int n, const std::string& suffix);
std::string GetMessageText(int n, const std::vector<std::string>& arguments, int lastIndex);
void ShowMessageText(int n, const std::vector<std::string>& arguments, int lastIndex);
