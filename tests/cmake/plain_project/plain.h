#pragma once

int Plain();
