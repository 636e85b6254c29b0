// An alien met by a laser head or a friendly plasma ball dies and bursts; a head that meets two aliens in
// one frame kills only the first in slot order.
#include "effects_fixture.h"

#include "game/play/world.h"

namespace
{
class Alien_Hit_Test : public Effects_Test
{
  protected:
    void SetUp() override
    {
        Effects_Test::SetUp();
        Give_Sprite(SPRITE_LASER, 8, 96.0f, 24.0f);
        Give_Sprite(SPRITE_CROSS, 8, 96.0f, 96.0f);
        Give_Sprite(SPRITE_EXPLOSION, 8, 64.0f, 64.0f);
    }
    Game_Object& Cross(int slot, float x, float y)
    {
        Game_Object& object = app->player->objects[slot];
        object.Reset();
        object.type = OBJ_CROSS;
        object.state = OBJECT_ALIVE;
        object.sprite = SPRITE_CROSS;
        object.size = 0.05f;
        object.x = x;
        object.y = y;
        return object;
    }
    int Live_Particles() const
    {
        int n = 0;
        for (const Particle& p : app->particles)
            n += p.sprite != SPRITE_NONE;
        return n;
    }
};
} // namespace

TEST_F(Alien_Hit_Test, OneHeadKillsOnlyTheFirstAlienInSlotOrder)
{
    Laser_Beam& beam = app->lasers[0];
    app->Start_Laser_Beam(beam, 0.5f, 1);
    const float head = Wrap_X(app->player->pilot_x + beam.head_x - 0.5f);
    Game_Object& first = Cross(3, head, beam.y);
    Game_Object& second = Cross(7, head + 0.001f, beam.y);
    app->Update_Aliens(1.0f);
    EXPECT_EQ(first.state, OBJECT_FREE);
    EXPECT_EQ(second.state, OBJECT_ALIVE) << "the beam stopped at the first";
    EXPECT_FLOAT_EQ(beam.speed, 0.0f);
    EXPECT_EQ(Live_Particles(), 4);
}

TEST_F(Alien_Hit_Test, AFriendlyBallIsTriedOnlyWithoutALaserHit)
{
    Game_Object& cross = Cross(0, 52.0f, 0.4f);
    app->Spawn_Plasma_Ball(52.01f, 0.4f, 0.0f, 0.0f, true);
    app->Spawn_Plasma_Ball(52.0f, 0.41f, 0.0f, 0.0f, false); // hostile: hurts only the pilot
    app->Update_Aliens(1.0f);
    EXPECT_EQ(cross.state, OBJECT_FREE);
    EXPECT_FALSE(app->plasma_balls[0].active) << "the ball is used up";
    EXPECT_TRUE(app->plasma_balls[1].active);
}
