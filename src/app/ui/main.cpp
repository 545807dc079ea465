// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Application.h"

int main(int argc, char** argv) {
    return q905::Application().run(argc, argv);
}
