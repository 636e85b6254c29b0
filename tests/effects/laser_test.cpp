// Laser beams: the start one cell width of "Laser" a frame, the trail of segments aged 0 to 7, the end
// off screen, and the hit: only the head hits, one thing per beam, across the ring's seam.
#include "effects_fixture.h"

#include "game/play/random.h"
#include "game/play/world.h"

#include <set>

namespace
{
class Laser_Test : public Effects_Test
{
  protected:
    void SetUp() override
    {
        Effects_Test::SetUp();
        // Cell 0 is 96 pixels wide: a twentieth of the reference width.
        Give_Sprite(SPRITE_LASER, 8, 96.0f, 24.0f);
    }
    // The world x of a beam's head.
    float Head_X(const Laser_Beam& beam) const { return Wrap_X(app->player->pilot_x + beam.head_x - 0.5f); }
};

TEST_F(Laser_Test, ABeamStartsNearThePilotAndAdvancesOneCellWidthOfLaserAFrame)
{
    for (int direction : {1, -1})
    {
        SCOPED_TRACE(direction);
        Laser_Beam beam;
        beam.segment_age[3] = 5;
        const uint32_t seed = Random_State();
        app->Start_Laser_Beam(beam, 0.6f, direction);
        const uint32_t after = Random_State();
        EXPECT_EQ(beam.active, 1);
        EXPECT_EQ(beam.sprite, SPRITE_LASER);
        EXPECT_FLOAT_EQ(beam.speed, direction * 0.05f);
        EXPECT_FLOAT_EQ(beam.head_x, 0.5f + 0.75f * direction * 0.05f);
        for (int32_t age : beam.segment_age)
            EXPECT_EQ(age, -1);
        // The colour is drawn first, then the jitter of the height.
        Seed_Random(seed);
        const Colour colour = Random_Colour();
        const float jitter = Random_Range(-0.002f, 0.002f);
        EXPECT_EQ(beam.colour.r, colour.r);
        EXPECT_EQ(beam.colour.g, colour.g);
        EXPECT_EQ(beam.colour.b, colour.b);
        EXPECT_FLOAT_EQ(beam.y, 0.6f + jitter);
        EXPECT_EQ(Random_State(), after) << "two draws and no more";
    }
}

TEST_F(Laser_Test, TheTrailShowsAgesZeroToSevenAndTheBeamEndsOffScreen)
{
    Laser_Beam& beam = app->lasers[0];
    app->Start_Laser_Beam(beam, 0.5f, 1);
    float head = beam.head_x;
    for (int frame = 1; frame <= 19; ++frame)
    {
        SCOPED_TRACE(frame);
        app->Update_Lasers(1.0f);
        ASSERT_EQ(beam.active, 1);
        EXPECT_NEAR(beam.head_x, head + 0.05f, 1e-6f);
        std::set<int> ages;
        for (int i = 0; i < LASER_SEGMENTS; ++i)
            if (beam.segment_age[i] >= 0)
            {
                ages.insert(beam.segment_age[i]);
                if (beam.segment_age[i] == 0)
                {
                    EXPECT_FLOAT_EQ(beam.segment_x[i], head) << "the new segment is where the head was";
                }
            }
        std::set<int> expected;
        for (int age = 0; age <= std::min(frame - 1, 7); ++age)
            expected.insert(age);
        EXPECT_EQ(ages, expected);
        head = beam.head_x;
    }
    // 0.5375 + 20 x 0.05 is past 1.5.
    app->Update_Lasers(1.0f);
    EXPECT_EQ(beam.active, 0);
    for (int32_t age : beam.segment_age)
        EXPECT_EQ(age, -1);

    // The frame factor scales the advance.
    app->Start_Laser_Beam(beam, 0.5f, -1);
    head = beam.head_x;
    app->Update_Lasers(2.0f);
    EXPECT_NEAR(beam.head_x, head - 0.1f, 1e-6f);
}

TEST_F(Laser_Test, OnlyTheHeadHitsAndABeamHitsOneThing)
{
    Laser_Beam& beam = app->lasers[0];
    app->Start_Laser_Beam(beam, 0.5f, 1);
    for (int i = 0; i < 3; ++i)
        app->Update_Lasers(1.0f);
    const float head = Head_X(beam);
    const float y = beam.y;

    // On the trail (the first segment, 0.15 behind the head) and just out of reach: no hit.
    EXPECT_FALSE(app->Laser_Hit(Wrap_X(app->player->pilot_x + beam.segment_x[0] - 0.5f), y));
    EXPECT_FALSE(app->Laser_Hit(head + 0.0505f, y));
    EXPECT_FALSE(app->Laser_Hit(head, y + 0.0505f));
    EXPECT_NE(beam.speed, 0.0f);

    // Within one advance of the head, either way: a hit, and the beam stops.
    EXPECT_TRUE(app->Laser_Hit(head - 0.03f, y + 0.03f));
    EXPECT_EQ(beam.speed, 0.0f);
    EXPECT_FALSE(app->Laser_Hit(head, y)) << "a beam hits at most one thing";

    // The stopped beam stays where it hit while its trail of ages 0 to 3 fades.
    for (int frame = 1; frame <= 7; ++frame)
    {
        app->Update_Lasers(1.0f);
        EXPECT_EQ(beam.active, 1) << frame;
        EXPECT_FLOAT_EQ(Head_X(beam), head);
    }
    app->Update_Lasers(1.0f);
    EXPECT_EQ(beam.active, 0);
}

TEST_F(Laser_Test, BeamsAreTriedInSlotOrderAndAcrossTheSeamOfTheRing)
{
    app->player->pilot_x = 99.99f;
    app->Start_Laser_Beam(app->lasers[4], 0.5f, 1);
    app->Start_Laser_Beam(app->lasers[2], 0.5f, 1);
    app->lasers[4].y = app->lasers[2].y = 0.5f;
    // The heads lie at 99.99 + 0.0375, past the seam: 0.0275.
    EXPECT_TRUE(app->Laser_Hit(0.0275f, 0.5f));
    EXPECT_EQ(app->lasers[2].speed, 0.0f);
    EXPECT_NE(app->lasers[4].speed, 0.0f);
    EXPECT_TRUE(app->Laser_Hit(99.999f, 0.5f));
    EXPECT_EQ(app->lasers[4].speed, 0.0f);
}

TEST_F(Laser_Test, ABeamThatIsOutHitsNothing)
{
    // Off screen, or put out by a teleport, a beam keeps its speed but shows nothing: it must not hit.
    Laser_Beam& beam = app->lasers[0];
    app->Start_Laser_Beam(beam, 0.5f, 1);
    beam.active = 0;
    EXPECT_FALSE(app->Laser_Hit(Head_X(beam), beam.y));

    // Without its sprite a beam has no advance: it ends at once and hits nothing.
    delete app->sprites[SPRITE_LASER];
    app->sprites[SPRITE_LASER] = nullptr;
    app->Start_Laser_Beam(beam, 0.5f, 1);
    EXPECT_FALSE(app->Laser_Hit(Head_X(beam), beam.y));
    app->Update_Lasers(1.0f);
    EXPECT_EQ(beam.active, 0);
}
} // namespace
