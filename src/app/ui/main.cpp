#include "app/ui/CGameKeyboardApp.h"

int main(int argc, char** argv) {
    return q905::CGameKeyboardApp().run(argc, argv);
}
