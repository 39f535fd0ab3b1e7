#include "StartWindow.h"
#include "VantrelApplication.h"

int main(int argc, char** argv)
{
    VantrelApplication app(argc, argv);
    StartWindow window;
    window.show();
    return app.exec();
}
