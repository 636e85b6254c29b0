// The current player's object table: the lowest free record is always the one taken.
#include "game/app/app.h"

Game_Object* App::New_Object()
{
    for (Game_Object& object : player->objects)
        if (object.state == OBJECT_FREE)
        {
            object.Reset();
            return &object;
        }
    return nullptr;
}
