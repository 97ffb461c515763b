#pragma once

double Engine();
