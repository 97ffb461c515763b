#pragma once

#include <QString>

QString WithQt();
