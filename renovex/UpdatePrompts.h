#pragma once

#include <QString>

#include "RenovexApi.h"

class QWidget;

namespace quorvane::renovex {

// The library's questions and messages: Qt's dialogs, or the answers a test installed with
// RenovexSetPrompts.
void SetPromptHook(const TRenovexPrompts* prompts);
void Inform(QWidget* parent, int kind, const QString& text);
bool Ask(QWidget* parent, const QString& question);
// Empty when the user cancelled.
QString ChooseFolder(QWidget* parent, const QString& title);

} // namespace quorvane::renovex
